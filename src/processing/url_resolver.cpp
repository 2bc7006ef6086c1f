#include "processing/url_resolver.h"

#include <optional>

#include "common/shift_jis.h"
#include "processing/limits.h"

namespace velnora::processing {
namespace {

// The five components of a URI reference (RFC 3986 section 3); an absent component is
// distinguished from an empty one.
struct UriParts {
    std::optional<std::string_view> scheme;
    std::optional<std::string_view> authority;
    std::string_view path;
    std::optional<std::string_view> query;
    std::optional<std::string_view> fragment;
};

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSchemeChar(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Splits a reference into its components. A scheme is recognised only when it has the form of
// RFC 3986 section 3.1 (a letter, then letters, digits, "+", "-" or "."), so that a relative
// path such as "a b:c" stays a path.
UriParts SplitReference(std::string_view text) {
    UriParts parts;
    std::size_t colon = text.find_first_of(":/?#");
    if (colon != std::string_view::npos && colon > 0 && text[colon] == ':' &&
        IsAsciiLetter(text[0])) {
        bool valid = true;
        for (std::size_t i = 1; i < colon; ++i) {
            valid = valid && IsSchemeChar(text[i]);
        }
        if (valid) {
            parts.scheme = text.substr(0, colon);
            text.remove_prefix(colon + 1);
        }
    }
    if (text.starts_with("//")) {
        text.remove_prefix(2);
        std::size_t end = text.find_first_of("/?#");
        if (end == std::string_view::npos) {
            end = text.size();
        }
        parts.authority = text.substr(0, end);
        text.remove_prefix(end);
    }
    std::size_t hash = text.find('#');
    if (hash != std::string_view::npos) {
        parts.fragment = text.substr(hash + 1);
        text = text.substr(0, hash);
    }
    std::size_t question = text.find('?');
    if (question != std::string_view::npos) {
        parts.query = text.substr(question + 1);
        text = text.substr(0, question);
    }
    parts.path = text;
    return parts;
}

// RFC 3986 section 5.2.4.
std::string RemoveDotSegments(std::string_view input) {
    std::string output;
    output.reserve(input.size());
    while (!input.empty()) {
        if (input.starts_with("../")) {
            input.remove_prefix(3);
        } else if (input.starts_with("./")) {
            input.remove_prefix(2);
        } else if (input.starts_with("/./")) {
            input.remove_prefix(2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.starts_with("/../") || input == "/..") {
            if (input.size() == 3) {
                input = "/";
            } else {
                input.remove_prefix(3);
            }
            std::size_t last = output.rfind('/');
            output.resize(last == std::string::npos ? 0 : last);
        } else if (input == "." || input == "..") {
            input = {};
        } else {
            // Move the first segment, with its leading "/" if any, to the output.
            std::size_t end = input.find('/', input[0] == '/' ? 1 : 0);
            if (end == std::string_view::npos) {
                end = input.size();
            }
            output.append(input.substr(0, end));
            input.remove_prefix(end);
        }
    }
    return output;
}

// RFC 3986 section 5.2.3.
std::string MergePaths(const UriParts& base, std::string_view reference_path) {
    if (base.authority && base.path.empty()) {
        return "/" + std::string(reference_path);
    }
    std::size_t slash = base.path.rfind('/');
    if (slash == std::string_view::npos) {
        return std::string(reference_path);
    }
    return std::string(base.path.substr(0, slash + 1)) + std::string(reference_path);
}

// RFC 3986 section 5.3.
std::string Recompose(std::string_view scheme, const std::optional<std::string_view>& authority,
                      std::string_view path, const std::optional<std::string_view>& query,
                      const std::optional<std::string_view>& fragment) {
    std::string result;
    result.reserve(scheme.size() + path.size() + 16 + (authority ? authority->size() : 0) +
                   (query ? query->size() : 0) + (fragment ? fragment->size() : 0));
    result.append(scheme).push_back(':');
    if (authority) {
        result.append("//").append(*authority);
    }
    result.append(path);
    if (query) {
        result.append("?").append(*query);
    }
    if (fragment) {
        result.append("#").append(*fragment);
    }
    return result;
}

// RFC 3986 section 5.2.2 (strict: a reference with a scheme is taken as absolute). Nothing when
// the reference needs a base and the base is not absolute with an authority.
std::optional<std::string> Resolve(std::string_view value, std::string_view base_text) {
    UriParts reference = SplitReference(value);
    if (reference.scheme) {
        return Recompose(*reference.scheme, reference.authority, RemoveDotSegments(reference.path),
                         reference.query, reference.fragment);
    }
    UriParts base = SplitReference(base_text);
    if (!base.scheme || !base.authority) {
        return std::nullopt;
    }
    if (reference.authority) {
        return Recompose(*base.scheme, reference.authority, RemoveDotSegments(reference.path),
                         reference.query, reference.fragment);
    }
    if (reference.path.empty()) {
        return Recompose(*base.scheme, base.authority, base.path,
                         reference.query ? reference.query : base.query, reference.fragment);
    }
    std::string path = reference.path.starts_with('/')
                           ? RemoveDotSegments(reference.path)
                           : RemoveDotSegments(MergePaths(base, reference.path));
    return Recompose(*base.scheme, base.authority, path, reference.query, reference.fragment);
}

bool NeedsEscape(unsigned char b) {
    if (b <= 0x20 || b >= 0x7F) {
        return true;
    }
    switch (b) {
        case '"':
        case '<':
        case '>':
        case '\\':
        case '^':
        case '`':
        case '{':
        case '|':
        case '}':
            return true;
        default:
            return false;
    }
}

std::string EscapeUnsafe(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if (NeedsEscape(b)) {
            result.push_back('%');
            result.push_back(kHex[b >> 4]);
            result.push_back(kHex[b & 0x0F]);
        } else {
            result.push_back(c);
        }
    }
    return result;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           common::EqualNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string AbsoluteAddress(std::string_view value, std::string_view base) {
    if (StartsWithNoCase(value, "http://") || StartsWithNoCase(value, "https://") ||
        StartsWithNoCase(value, "ftp://")) {
        return std::string(value);
    }
    std::optional<std::string> resolved = Resolve(value, base);
    if (!resolved) {
        return std::string(value);
    }
    std::string escaped = EscapeUnsafe(*resolved);
    if (escaped.size() > kCombinedUrlLimit) {
        return std::string(value);
    }
    return escaped;
}

}  // namespace velnora::processing

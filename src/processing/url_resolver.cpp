#include "processing/url_resolver.h"

#include <optional>

#include "processing/limits.h"
#include "text/shift_jis.h"

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

constexpr bool NeedsEscape(unsigned char b) {
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

// Bytes written as %XX: controls and blanks, bytes from 0x7F, and the characters RFC 3986
// never allows in a URI.
struct EscapeTable {
    bool escape[256] = {};
    constexpr EscapeTable() {
        for (int b = 0; b < 256; ++b) {
            escape[b] = NeedsEscape(static_cast<unsigned char>(b));
        }
    }
};
constexpr EscapeTable kEscapeTable;

void AppendEscaped(std::string& result, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto b = static_cast<unsigned char>(text[i]);
        if (!kEscapeTable.escape[b]) {
            continue;
        }
        result.append(text.substr(run, i - run));
        result.push_back('%');
        result.push_back(kHex[b >> 4]);
        result.push_back(kHex[b & 0x0F]);
        run = i + 1;
    }
    result.append(text.substr(run));
}

std::string EscapeUnsafe(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    AppendEscaped(result, text);
    return result;
}

// A path that RemoveDotSegments leaves as it is: no segment is "." or "..".
bool HasNoDotSegment(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        std::string_view segment = path.substr(start, end - start);
        if (segment == "." || segment == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool IsAbsoluteAddress(std::string_view value) {
    return text::StartsWithNoCase(value, "http://") || text::StartsWithNoCase(value, "https://") ||
           text::StartsWithNoCase(value, "ftp://");
}

}  // namespace

std::string AbsoluteAddress(std::string_view value, std::string_view base) {
    if (IsAbsoluteAddress(value)) {
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

void UrlResolver::SetBase(std::string_view base) {
    base_.assign(base);
    UriParts parts = SplitReference(base_);
    usable_ = parts.scheme.has_value() && parts.authority.has_value();
    if (!usable_) {
        return;
    }
    origin_.assign(*parts.scheme).append("://").append(*parts.authority);
    path_.assign(parts.path);
    std::size_t slash = parts.path.rfind('/');
    if (parts.path.empty()) {
        directory_ = "/";
    } else {
        directory_.assign(slash == std::string_view::npos ? std::string_view()
                                                          : parts.path.substr(0, slash + 1));
    }
    has_query_ = parts.query.has_value();
    query_.clear();
    if (has_query_) {
        query_.append("?").append(*parts.query);
    }
    clean_directory_ = !directory_.empty() && directory_[0] == '/' && HasNoDotSegment(directory_);
}

std::string UrlResolver::Absolute(std::string_view value) const {
    if (IsAbsoluteAddress(value)) {
        return std::string(value);
    }
    // The common references need no dot-segment removal and no new strings: an absolute path
    // ("/a/b?q") or a relative one ("b.html") against a clean base directory.
    if (usable_ && !value.empty() && value[0] != '?' && value[0] != '#') {
        std::size_t path_end = value.find_first_of("?#");
        std::string_view path = value.substr(0, path_end);
        bool absolute_path = path.starts_with('/') && !path.starts_with("//");
        bool plain_relative = !path.empty() && path[0] != '/' && clean_directory_ &&
                              path.find(':') == std::string_view::npos;
        if ((absolute_path || plain_relative) && HasNoDotSegment(path)) {
            std::string result;
            result.reserve(origin_.size() + directory_.size() + value.size() + 8);
            AppendEscaped(result, origin_);
            if (plain_relative) {
                AppendEscaped(result, directory_);
            }
            AppendEscaped(result, value);
            return result.size() > kCombinedUrlLimit ? std::string(value) : result;
        }
    }
    return AbsoluteAddress(value, base_);
}

}  // namespace velnora::processing

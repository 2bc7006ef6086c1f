#include "processing/gzip_inflater.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "processing/limits.h"

namespace velnora::processing {
namespace {

// A gzip member holding the pieces; each piece but the last is followed by a sync flush, so
// that everything before a flush point inflates without what comes after it. The flush points
// go to *flush_points when given.
std::string Gzip(const std::vector<std::string>& pieces, int level = Z_DEFAULT_COMPRESSION,
                 std::vector<std::size_t>* flush_points = nullptr) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out;
    std::vector<unsigned char> buffer(1 << 16);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
        stream.avail_in = static_cast<uInt>(piece.size());
        int flush = i + 1 == pieces.size() ? Z_FINISH : Z_SYNC_FLUSH;
        do {
            stream.next_out = buffer.data();
            stream.avail_out = static_cast<uInt>(buffer.size());
            deflate(&stream, flush);
            out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - stream.avail_out);
        } while (stream.avail_out == 0);
        if (flush_points != nullptr) {
            flush_points->push_back(out.size());
        }
    }
    deflateEnd(&stream);
    return out;
}

std::string Gzip(const std::string& text) {
    return Gzip(std::vector<std::string>{text});
}

std::string SampleText(std::size_t length, std::size_t seed = 7919) {
    std::string text;
    for (std::size_t i = 0; text.size() < length; ++i) {
        text += "<p>line " + std::to_string(i * seed % 100003) + " of the page</p>\r\n";
    }
    text.resize(length);
    return text;
}

struct Inflated {
    std::string out;
    bool stopped = false;
};

Inflated Inflate(const std::vector<std::string_view>& pieces) {
    Inflated result;
    GzipInflater inflater([&](std::string_view bytes) { result.out.append(bytes); });
    for (std::string_view piece : pieces) {
        inflater.Feed(piece);
    }
    inflater.Finish();
    result.stopped = inflater.stopped();
    return result;
}

// The inflated output, checked to be the same whole, one byte per call and cut in two anywhere.
std::string InflateAllCuts(std::string_view input) {
    std::string whole = Inflate({input}).out;
    std::vector<std::string_view> bytewise;
    for (std::size_t i = 0; i < input.size(); ++i) {
        bytewise.push_back(input.substr(i, 1));
    }
    EXPECT_EQ(Inflate(bytewise).out, whole) << "one byte per call";
    for (std::size_t i = 1; i < input.size(); ++i) {
        EXPECT_EQ(Inflate({input.substr(0, i), input.substr(i)}).out, whole) << "cut at " << i;
    }
    return whole;
}

TEST(GzipInflater, InflatesAMemberHoweverItIsCut) {
    std::string text = SampleText(3000);
    EXPECT_EQ(InflateAllCuts(Gzip(text)), text);
    EXPECT_EQ(InflateAllCuts(Gzip(std::string())), "");
}

TEST(GzipInflater, ReadsConcatenatedMembersInTurn) {
    std::string input = Gzip("first member, ") + Gzip("second member, ") + Gzip("third");
    EXPECT_EQ(InflateAllCuts(input), "first member, second member, third");
}

TEST(GzipInflater, IgnoresWhatFollowsAMemberWithoutTheMagicBytes) {
    std::string member = Gzip("the page");
    struct Row {
        const char* what;
        std::string trailing;
    };
    std::vector<Row> rows = {
        {"text after the member is ignored", "\r\n0\r\n\r\nmore text"},
        {"a lone first magic byte is ignored", "\x1f"},
        {"a first magic byte with a wrong second is ignored", "\x1fxyz"},
        {"zero padding is ignored", std::string(16, '\0')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(InflateAllCuts(member + row.trailing), "the page");
        EXPECT_TRUE(Inflate({member + row.trailing}).stopped);
    }
}

TEST(GzipInflater, PassesABodyWithoutTheMagicBytesUnchanged) {
    struct Row {
        const char* what;
        std::string body;
    };
    std::vector<Row> rows = {
        {"a plain text", "<html>not compressed</html>"},
        {"a body of one magic byte", "\x1f"},
        {"a first magic byte with a wrong second", "\x1f\x8c and more"},
        {"text with a gzip member after it", "text" + Gzip("member")},
        {"an empty body", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(InflateAllCuts(row.body), row.body);
    }
}

TEST(GzipInflater, DamageEndsTheInflationKeepingWhatCameBefore) {
    std::string first = SampleText(5000);
    std::string second = SampleText(7000, 104729);
    std::vector<std::size_t> flush_points;
    std::string stream = Gzip({first, second}, Z_DEFAULT_COMPRESSION, &flush_points);
    std::size_t flush_point = flush_points[0];

    std::string damaged = stream;
    damaged[flush_point] = '\xff';  // an invalid block type right after the flush
    Inflated result = Inflate({damaged});
    EXPECT_EQ(result.out, first);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(InflateAllCuts(damaged.substr(0, flush_point + 40)), first);

    // A truncated stream keeps every byte it held.
    ASSERT_GT(stream.size() - 100, flush_point);
    std::string truncated = InflateAllCuts(stream.substr(0, stream.size() - 100));
    EXPECT_GE(truncated.size(), first.size());
    EXPECT_EQ(truncated, (first + second).substr(0, truncated.size()));

    // A wrong check value at the end: the data is all there already.
    std::string bad_check = stream;
    bad_check[bad_check.size() - 6] ^= 0x55;
    EXPECT_EQ(Inflate({bad_check}).out, first + second);

    // A damaged second member keeps the first.
    EXPECT_EQ(Inflate({Gzip("one") + "\x1f\x8b\x08\xff garbage"}).out, "one");
}

TEST(GzipInflater, StopsAtTheInflationLimit) {
    // 65 MiB of zeros compress to about 65 KiB; only the first 64 MiB come out.
    static const std::string bomb = Gzip({std::string(kMaxInflatedBytes + (1 << 20), '\0')}, 1);
    std::size_t total = 0;
    bool all_zero = true;
    GzipInflater inflater([&](std::string_view bytes) {
        total += bytes.size();
        all_zero = all_zero && bytes.find_first_not_of('\0') == std::string_view::npos;
    });
    for (std::size_t at = 0; at < bomb.size(); at += kReadBlockSize) {
        inflater.Feed(std::string_view(bomb).substr(at, kReadBlockSize));
    }
    EXPECT_EQ(total, kMaxInflatedBytes);
    EXPECT_EQ(inflater.inflated_bytes(), kMaxInflatedBytes);
    EXPECT_TRUE(inflater.stopped());
    EXPECT_TRUE(all_zero);
}

TEST(GzipInflater, ResetStartsAfresh) {
    std::string out;
    GzipInflater inflater([&](std::string_view bytes) { out.append(bytes); });
    inflater.Feed(Gzip("one") + "junk");
    EXPECT_TRUE(inflater.stopped());
    inflater.Reset();
    EXPECT_FALSE(inflater.stopped());
    EXPECT_EQ(inflater.inflated_bytes(), 0u);
    inflater.Feed(Gzip("two"));
    EXPECT_EQ(out, "onetwo");
}

}  // namespace
}  // namespace velnora::processing

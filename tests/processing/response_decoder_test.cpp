#include "processing/response_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

namespace velnora::processing {
namespace {

class RecordingEvents : public ResponseEvents {
  public:
    void OnHeaderCharset(Encoding encoding) override { charsets.push_back(encoding); }
    void OnBodyStart() override {
        EXPECT_FALSE(body_started) << "the body started twice";
        body_started = true;
    }
    void OnBody(std::string_view bytes) override {
        EXPECT_TRUE(body_started) << "body bytes before the body started";
        EXPECT_FALSE(bytes.empty());
        body.append(bytes);
        ++body_calls;
    }

    std::vector<Encoding> charsets;
    bool body_started = false;
    std::string body;
    int body_calls = 0;
};

struct Decoded {
    std::string body;
    bool body_started = false;
    bool chunked = false;
    bool gzip = false;
    bool complete = false;
    std::vector<Encoding> charsets;
    std::uint64_t position = 0;
    int body_calls = 0;
    TextAccumulator accumulator;

    bool operator==(const Decoded& other) const {
        return body == other.body && body_started == other.body_started &&
               chunked == other.chunked && gzip == other.gzip && charsets == other.charsets &&
               position == other.position && complete == other.complete;
    }
};

Decoded DecodePieces(const std::vector<std::string_view>& pieces, int charset_sel) {
    Decoded result;
    RecordingEvents events;
    ResponseDecoder decoder(result.accumulator, events, charset_sel);
    decoder.Reset();
    for (std::string_view piece : pieces) {
        decoder.Feed(piece);
    }
    decoder.Finish();
    result.body = events.body;
    result.body_started = events.body_started;
    result.chunked = decoder.chunked();
    result.gzip = decoder.gzip();
    result.complete = decoder.complete();
    result.charsets = events.charsets;
    result.position = decoder.byte_position();
    result.body_calls = events.body_calls;
    return result;
}

// Decodes everything after the status line, whole, one byte per call, and cut in two at every
// position (a CR at the end of a piece, a size line or a gzip stream split anywhere); every way
// must give the same result. The result of the whole feed is returned.
Decoded Decode(std::string_view response, int charset_sel = 1) {
    Decoded whole = DecodePieces({response}, charset_sel);
    EXPECT_EQ(whole.position, response.size());
    std::vector<std::string_view> bytewise;
    for (std::size_t i = 0; i < response.size(); ++i) {
        bytewise.push_back(response.substr(i, 1));
    }
    EXPECT_TRUE(DecodePieces(bytewise, charset_sel) == whole) << "one byte per call";
    for (std::size_t i = 1; i < response.size(); ++i) {
        EXPECT_TRUE(DecodePieces({response.substr(0, i), response.substr(i)}, charset_sel) == whole)
            << "cut at " << i;
    }
    return whole;
}

std::string Gzip(std::string_view text) {
    z_stream stream{};
    EXPECT_EQ(
        deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY),
        Z_OK);
    std::string out(deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(out.size() - stream.avail_out);
    deflateEnd(&stream);
    return out;
}

// The text as a chunked body with chunks of the given size, a last chunk and no trailers.
std::string Chunked(std::string_view text, std::size_t chunk_size) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); at += chunk_size) {
        std::string_view chunk = text.substr(at, chunk_size);
        char size[20];
        std::snprintf(size, sizeof size, "%zx", chunk.size());
        out += std::string(size) + "\r\n" + std::string(chunk) + "\r\n";
    }
    return out + "0\r\n\r\n";
}

TEST(ResponseDecoder, HeaderBlockEndsAtTheFirstEmptyLine) {
    struct Row {
        const char* what;
        std::string response;
        std::string body;
    };
    std::vector<Row> rows = {
        {"CR LF CR LF ends the block", "Server: x\r\nDate: y\r\n\r\nbody", "body"},
        {"LF LF ends the block", "Server: x\n\nbody", "body"},
        {"CR CR ends the block", "Server: x\r\rbody", "body"},
        {"CR LF LF ends the block", "Server: x\r\n\nbody", "body"},
        {"LF CR LF ends the block after the LF", "Server: x\n\r\nbody", "body"},
        {"CR CR LF ends the block after the LF", "Server: x\r\r\nbody", "body"},
        {"a CR LF right after the status line leaves no headers", "\r\nbody", "body"},
        {"an LF right after the status line leaves no headers", "\nbody", "body"},
        {"a line of blanks is not empty", "Server: x\r\n  \r\nDate: y\r\n\r\nbody", "body"},
        {"a body may begin with a line end", "Server: x\r\n\r\n\nbody", "\nbody"},
        {"a body may begin with CR LF", "Server: x\n\n\r\nbody", "\r\nbody"},
        {"a body of line ends only", "Server: x\r\n\r\n\r\n\r\n", "\r\n\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Decoded decoded = Decode(row.response);
        EXPECT_TRUE(decoded.body_started);
        EXPECT_EQ(decoded.body, row.body);
        EXPECT_TRUE(decoded.accumulator.empty());
    }
}

TEST(ResponseDecoder, WithoutAnEmptyLineEverythingIsHeaderText) {
    Decoded decoded = Decode("Server: x\r\nDate: y\r\n<html>text</html>");
    EXPECT_FALSE(decoded.body_started);
    EXPECT_EQ(decoded.body, "");
}

TEST(ResponseDecoder, HeaderTextStaysBounded) {
    std::string response = "X-Long: " + std::string(200000, 'a') + "\r\n\r\nbody";
    RecordingEvents events;
    TextAccumulator accumulator;
    ResponseDecoder decoder(accumulator, events, 0);
    decoder.Feed(response);
    EXPECT_EQ(events.body, "body");
}

TEST(ResponseDecoder, HeaderTextIsClearedButPendingBlanksStay) {
    Decoded decoded = Decode("Server: x  \r\n\r\n");
    EXPECT_TRUE(decoded.accumulator.empty());
    EXPECT_EQ(decoded.accumulator.pending_blanks, 2);
}

TEST(ResponseDecoder, ChunkedTransferEncodingLines) {
    const std::string body = "5\r\nhello\r\n0\r\n\r\n";
    struct Row {
        const char* what;
        std::string line;
        bool chunked;
    };
    std::vector<Row> rows = {
        {"the usual line", "Transfer-Encoding: chunked", true},
        {"upper case with three blanks", "TRANSFER-ENCODING:   chunked", true},
        {"no blank after the colon", "Transfer-Encoding:chunked", true},
        {"blanks around the name and value", "Transfer-Encoding\t : Chunked  ", true},
        {"chunked as the last coding", "Transfer-Encoding: gzip, chunked", true},
        {"chunked not last", "Transfer-Encoding: chunked, gzip", false},
        {"another name", "X-Transfer-Encoding: chunked", false},
        {"another coding", "Transfer-Encoding: chunkedx", false},
        {"no colon", "Transfer-Encoding chunked", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Decoded decoded = Decode("Server: x\r\n" + row.line + "\r\n\r\n" + body);
        EXPECT_EQ(decoded.chunked, row.chunked);
        EXPECT_EQ(decoded.body, row.chunked ? "hello" : body);
    }
}

TEST(ResponseDecoder, LineAfterALineEndingInBlanksIsRecognised) {
    Decoded decoded =
        Decode("Server: x \t \r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n");
    EXPECT_TRUE(decoded.chunked);
    EXPECT_EQ(decoded.body, "abc");
}

TEST(ResponseDecoder, ContentEncodingGzipLines) {
    struct Row {
        const char* what;
        std::string line;
        bool gzip;
    };
    std::vector<Row> rows = {
        {"gzip", "Content-Encoding: gzip", true},
        {"x-gzip", "Content-Encoding: x-gzip", true},
        {"upper case, no blank", "CONTENT-ENCODING:GZIP", true},
        {"gzip with another coding", "Content-Encoding: gzip, deflate", false},
        {"deflate", "Content-Encoding: deflate", false},
        {"gzip under another name", "Transfer-Encoding: gzip", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Decode(row.line + "\r\n\r\n").gzip, row.gzip);
    }
}

TEST(ResponseDecoder, HeaderCharsetIsReportedOnlyForAutomaticDetection) {
    struct Row {
        const char* what;
        std::string headers;
        int charset_sel;
        std::vector<Encoding> reported;
    };
    std::vector<Row> rows = {
        {"EUC-JP with CHARSET_SEL 0",
         "Content-Type: text/html; charset=EUC-JP\r\n",
         0,
         {Encoding::kEucJp}},
        {"EUC-JP with CHARSET_SEL 1", "Content-Type: text/html; charset=EUC-JP\r\n", 1, {}},
        {"Shift_JIS changes nothing", "Content-Type: text/html; charset=Shift_JIS\r\n", 0, {}},
        {"x-euc-jp", "Content-Type: text/html;charset=x-euc-jp\r\n", 0, {Encoding::kEucJp}},
        {"ISO-2022-JP",
         "content-type: text/html; charset=iso-2022-jp\r\n",
         0,
         {Encoding::kIso2022Jp}},
        {"every line in turn",
         "X-A: charset=utf-8\r\nX-B: charset=euc-jp\r\n",
         0,
         {Encoding::kUtf8, Encoding::kEucJp}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Decoded decoded = Decode(row.headers + "\r\nbody", row.charset_sel);
        EXPECT_EQ(decoded.charsets, row.reported);
        EXPECT_EQ(decoded.body, "body");
    }
}

TEST(ResponseDecoder, ChunkFraming) {
    const std::string headers = "Transfer-Encoding: chunked\r\n\r\n";
    struct Row {
        const char* what;
        std::string chunks;
        std::string body;
    };
    std::vector<Row> rows = {
        {"several chunks and the last chunk", "3\r\nabc\r\n4\r\ndefg\r\n0\r\n\r\n", "abcdefg"},
        {"a chunk extension plays no part",
         "1a;name=value\r\n" + std::string(26, 'x') + "\r\n0\r\n\r\n", std::string(26, 'x')},
        {"hex digits in either case", "A\r\n0123456789\r\nb\r\nabcdefghijk\r\n0\r\n\r\n",
         "0123456789abcdefghijk"},
        {"trailer lines yield nothing", "2\r\nab\r\n0\r\nX-Trailer: 1\r\nX-Other: 2\r\n\r\n", "ab"},
        {"a CR without its LF starts the size line over", "zz\rq3\r\nabc\r\n0\r\n\r\n", "abc"},
        {"a size line keeps its first 99 characters", std::string(98, '0') + "1a\r\nx\r\n0\r\n\r\n",
         "x"},
        {"a malformed size reads as 0", "x\r\n\r\n3\r\nabc\r\n0\r\n\r\n", "abc"},
        {"a size too large to hold runs to the end",
         "fffffffffffffffffffffffffffffff\r\nall the rest\r\n0\r\n\r\n",
         "all the rest\r\n0\r\n\r\n"},
        {"the largest size that fits", "7fffffffffffffff\r\nall\r\n", "all\r\n"},
        {"a body cut off inside a chunk keeps its bytes", "10\r\nabc", "abc"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Decoded decoded = Decode(headers + row.chunks);
        EXPECT_TRUE(decoded.chunked);
        EXPECT_EQ(decoded.body, row.body);
    }
}

TEST(ResponseDecoder, BodyRunsGoOnWhole) {
    EXPECT_EQ(Decode("Server: x\r\n\r\n" + std::string(5000, 'a')).body_calls, 1);
    EXPECT_EQ(Decode("Transfer-Encoding: chunked\r\n\r\n" + Chunked(std::string(5000, 'a'), 2000))
                  .body_calls,
              3);
}

TEST(ResponseDecoder, GzipBodyIsInflated) {
    std::string text;
    for (int i = 0; i < 150; ++i) {
        text += "<p>line " + std::to_string(i * 37 % 101) + "</p>\r\n";
    }
    std::string compressed = Gzip(text);
    struct Row {
        const char* what;
        std::string response;
        std::string body;
    };
    std::vector<Row> rows = {
        {"a plain gzip body", "Content-Encoding: gzip\r\n\r\n" + compressed, text},
        {"a chunked gzip body",
         "Transfer-Encoding: chunked\r\nContent-Encoding: gzip\r\n\r\n" + Chunked(compressed, 7),
         text},
        {"a gzip body ended by LF LF", "Content-Encoding: x-gzip\n\n" + compressed, text},
        {"a body declared gzip that is not", "Content-Encoding: gzip\r\n\r\nplain", "plain"},
        {"a chunked body declared gzip that is not",
         "Transfer-Encoding: chunked\r\nContent-Encoding: gzip\r\n\r\n" + Chunked("plain", 2),
         "plain"},
        {"bytes after the gzip stream are ignored",
         "Content-Encoding: gzip\r\n\r\n" + compressed + "\r\ntrailing", text},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Decoded decoded = Decode(row.response);
        EXPECT_TRUE(decoded.gzip);
        EXPECT_EQ(decoded.body, row.body);
    }
}

TEST(ResponseDecoder, TellsWhetherTheResponseCameWhole) {
    std::string text(3000, 'x');
    std::string compressed = Gzip(text);
    std::string half = compressed.substr(0, compressed.size() / 2);
    std::string chunked = Chunked(text, 1000);
    struct Row {
        const char* what;
        std::string response;
        bool complete;
    };
    std::vector<Row> rows = {
        {"no framing: the close ends the body", "Server: x\r\n\r\nbody", true},
        {"the header block never ended", "Content-Type: text/html\r\n", false},
        {"Content-Length reached", "Content-Length: 4\r\n\r\nbody", true},
        {"Content-Length not reached", "Content-Length: 5\r\n\r\nbody", false},
        {"more than Content-Length", "Content-Length: 2\r\n\r\nbody", true},
        {"equal Content-Length values", "Content-Length: 4, 4\r\n\r\nbody", true},
        {"differing Content-Length values say nothing",
         "Content-Length: 9\r\nContent-Length: 10\r\n\r\nbody", true},
        {"a Content-Length that is no number says nothing", "Content-Length: 1e9\r\n\r\nbody",
         true},
        {"chunked up to the last chunk", "Transfer-Encoding: chunked\r\n\r\n" + chunked, true},
        {"chunked without the last chunk",
         "Transfer-Encoding: chunked\r\n\r\n" + chunked.substr(0, chunked.size() - 5), false},
        {"chunked cut inside a chunk",
         "Transfer-Encoding: chunked\r\n\r\n" + chunked.substr(0, 500), false},
        {"chunked wins over Content-Length",
         "Transfer-Encoding: chunked\r\nContent-Length: 1\r\n\r\n" + chunked.substr(0, 500), false},
        {"a whole gzip stream", "Content-Encoding: gzip\r\n\r\n" + compressed, true},
        {"a gzip stream cut in half", "Content-Encoding: gzip\r\n\r\n" + half, false},
        {"a chunked gzip stream cut in half but framed whole",
         "Transfer-Encoding: chunked\r\nContent-Encoding: gzip\r\n\r\n" + Chunked(half, 100),
         false},
        {"a body declared gzip that is not", "Content-Encoding: gzip\r\n\r\nplain", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Decode(row.response).complete, row.complete);
    }
}

TEST(ResponseDecoder, ResetStartsANewResponse) {
    RecordingEvents events;
    TextAccumulator accumulator;
    ResponseDecoder decoder(accumulator, events, 0);
    decoder.Feed("Transfer-Encoding: chunked\r\nContent-Encoding: gzip\r\n\r\n3\r\nab");
    decoder.Reset();
    events = RecordingEvents();
    decoder.Feed("Server: x\r\n\r\nbody");
    decoder.Finish();
    EXPECT_TRUE(decoder.complete()) << "nothing of the first response's framing stays";
    EXPECT_FALSE(decoder.chunked());
    EXPECT_FALSE(decoder.gzip());
    EXPECT_EQ(events.body, "body");
    EXPECT_EQ(decoder.byte_position(), 17u);
}

}  // namespace
}  // namespace velnora::processing

#pragma once

// Every fixed size of the page check pipeline, in one place. The stored files depend on them:
// a line is cut, a token dropped or a page truncated exactly where these say.

#include <cstddef>
#include <cstdint>
#include <limits>

namespace velnora::processing {

// Driver (RunPageCheck).
inline constexpr std::size_t kReadBlockSize = 99999;      // response read in blocks of this size
inline constexpr std::size_t kFirstLineLimit = 99999;     // the status line, at most
inline constexpr std::size_t kWriterBufferSize = 100000;  // ExtractedTextWriter's buffer
// The extracted text of one page is cut here. Real pages stay far below it (a 300 KB portal page
// gives about 100 KB of text), and the comparison reads only the first kComparePoolSize bytes of
// a text, so no real page loses anything that counts; but a small response that inflates to
// gigabytes of text (a gzip bomb) can no longer write huge logs: a page's ring of 25 past logs
// stays within about 100 MiB.
inline constexpr std::size_t kMaxExtractedTextBytes = std::size_t{4} << 20;

// Response decoder.
inline constexpr std::size_t kChunkSizeTextLimit = 99;  // characters kept of a chunk size line
// A chunk size beyond this reads as this (a long run of hex digits must not overflow).
inline constexpr std::int64_t kMaxChunkSize = std::numeric_limits<std::int64_t>::max();
// Inflation stops after this much output: a small body must not fill memory or disk.
inline constexpr std::size_t kMaxInflatedBytes = std::size_t{64} << 20;
inline constexpr std::size_t kInflateBufferSize = 65536;  // inflated output handed on per piece

// Charset decoder.
inline constexpr std::size_t kConvertedRunSize = 512;  // converted bytes handed on together

// Text accumulator and tag parser.
inline constexpr std::size_t kAccumulatorSize = 65536;
inline constexpr std::size_t kAccumulatorTextLimit = 65533;  // bytes beyond it are dropped
inline constexpr std::size_t kTagTextSize = 65536;
inline constexpr std::size_t kTagTextLimit = 65535;  // appending to a longer tag text does nothing
inline constexpr std::size_t kMaxTokens = 1000;

// Tag handling.
inline constexpr std::size_t kBaseUrlLimit = 999;       // characters of a base tag's address
inline constexpr std::size_t kCombinedUrlLimit = 9999;  // longer results keep the value as written

// Character references.
inline constexpr std::size_t kMaxReferenceName = 9;  // name bytes after "&" that are looked up

// Comparison.
inline constexpr std::size_t kMaxCompareLines = 2000;
inline constexpr std::size_t kComparePoolSize = 512000;
inline constexpr std::size_t kTraceBytes = 1001001;  // two bits for each of 2001 x 2001 points

}  // namespace velnora::processing

#include "dxf/dxf_line_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dxf/dxf_number.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::KorvexTest;
using test::WriteFileBytes;

// The lines as a C text stream on Windows gives them to a 32-byte fgets: CR LF folded to
// "\n", a lone CR kept, pieces of at most 31 characters.
std::vector<std::string> ExpectedLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      c = '\n';
      ++i;
    }
    line += c;
    if (c == '\n' || line.size() == kDxfLineBuffer - 1) {
      lines.push_back(line);
      line.clear();
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

class DxfLineReaderTest : public KorvexTest {
 protected:
  std::vector<std::string> ReadAll(const std::string& bytes) {
    const std::filesystem::path path = Scratch("lines.dxf");
    WriteFileBytes(path, bytes);
    std::vector<std::string> lines;
    std::string reason;
    EXPECT_TRUE(OpenDrawingFile(path, reason)) << reason;
    while (ReadDxfLine()) {
      EXPECT_EQ(static_cast<int>(std::char_traits<char>::length(CurrentDxfLine().text)),
                CurrentDxfLine().length);
      lines.emplace_back(CurrentDxfLine().text, static_cast<std::size_t>(CurrentDxfLine().length));
    }
    // The end stays the end.
    EXPECT_FALSE(ReadDxfLine());
    EXPECT_EQ(CurrentDxfLine().length, 0);
    EXPECT_FALSE(DrawingReadFailed());
    CloseDrawingFile();
    return lines;
  }
};

// The file is read in 64 KiB blocks; a line end split between two blocks, or a piece that
// runs across one, must read as if the file were read whole.
TEST_F(DxfLineReaderTest, LinesAcrossBlockBoundariesReadAsWhole) {
  constexpr std::size_t kBlock = 1 << 16;
  const std::string tails[] = {"\r\n", "\r", "\rx\n", "\n\n", "\r\r\n", std::string(40, 'y') + "\n",
                               "z"};
  for (std::size_t before = kBlock - 33; before <= kBlock + 1; ++before) {
    for (const std::string& tail : tails) {
      std::string bytes(before, 'a');
      for (std::size_t i = 20; i < before; i += 21) bytes[i] = '\n';
      bytes += tail;
      bytes += " 10\r\n1.5\r\n";
      SCOPED_TRACE(::testing::Message() << before << " bytes before a tail of " << tail.size());
      ASSERT_EQ(ReadAll(bytes), ExpectedLines(bytes));
    }
  }
}

TEST_F(DxfLineReaderTest, AnyMixOfLineEndsReadsAsTheTextStreamWould) {
  std::mt19937 random(5);
  const char alphabet[] = {'a', 'b', '0', ' ', '\r', '\n', '\r', '\n'};
  for (int round = 0; round < 6; ++round) {
    std::string bytes(150000 + static_cast<std::size_t>(round) * 7919, '\0');
    for (char& c : bytes) c = alphabet[random() % sizeof alphabet];
    if (round % 2 == 1) bytes.back() = '\r';
    SCOPED_TRACE(round);
    ASSERT_EQ(ReadAll(bytes), ExpectedLines(bytes));
  }
}

// A value is read as its line passes; it must be exactly what the number parser makes of
// the finished line, whatever the line holds.
TEST_F(DxfLineReaderTest, ValuesReadInPassingAreTheParsersValues) {
  std::mt19937_64 random(9);
  const char* const forms[] = {"%.6f", "%.0f", "%.3f", "%.15f", "%.9e", "%g", "%+.2f", " %.1f"};
  std::vector<std::string> values = {"-0.000000",
                                     "0",
                                     "-",
                                     ".",
                                     "-.5",
                                     ".5",
                                     "12.",
                                     "1.2.3",
                                     "1-2",
                                     "7.5xyz",
                                     "0x1A",
                                     "1e5",
                                     "inf",
                                     "nan",
                                     "",
                                     "123456789012345",
                                     "1234567890123456",
                                     "99.5\r7",
                                     std::string(40, '7'),
                                     "-1760.250000",
                                     "1003.000000"};
  for (int i = 0; i < 20000; ++i) {
    const double value = std::ldexp(static_cast<double>(random() % 2000000000) - 1e9,
                                    static_cast<int>(random() % 40) - 30);
    char text[64];
    std::snprintf(text, sizeof text, forms[random() % std::size(forms)], value);
    values.emplace_back(text);
  }
  std::string bytes;
  for (std::size_t i = 0; i < values.size(); ++i) bytes += values[i] + (i % 2 ? "\r\n" : "\n");

  const std::filesystem::path path = Scratch("values.dxf");
  WriteFileBytes(path, bytes);
  std::string reason;
  ASSERT_TRUE(OpenDrawingFile(path, reason)) << reason;
  for (int lineNumber = 0;; ++lineNumber) {
    double passing = -12345;
    ReadDxfValue(passing);
    if (CurrentDxfLine().length == 0) break;
    const double parsed =
        ParseDxfNumber(CurrentDxfLine().text, static_cast<std::size_t>(CurrentDxfLine().length));
    ASSERT_EQ(std::memcmp(&passing, &parsed, sizeof parsed), 0)
        << "line " << lineNumber << ": " << CurrentDxfLine().text << " gives " << passing
        << ", not " << parsed;
  }
  CloseDrawingFile();
}

// The number of each line in the file, counted only when asked for, across the reader's
// blocks, for LF and CR LF ends and for the pieces of a long line alike.
TEST_F(DxfLineReaderTest, LineNumbersCountTheFilesLines) {
  std::string bytes;
  std::vector<int> numbers;  // the number expected for each line or piece read
  std::mt19937 random(7);
  for (int line = 1; bytes.size() < (3u << 16); ++line) {
    const int length = static_cast<int>(random() % 70);
    bytes += std::string(static_cast<std::size_t>(length), 'x') + (line % 3 ? "\n" : "\r\n");
    // A line of up to 30 characters is one piece; a longer one comes in pieces of 31.
    const int pieces = length + 1 <= 31 ? 1 : 1 + length / 31;
    numbers.insert(numbers.end(), static_cast<std::size_t>(pieces), line);
  }
  const std::filesystem::path path = Scratch("numbered.dxf");
  WriteFileBytes(path, bytes);
  std::string reason;
  ASSERT_TRUE(OpenDrawingFile(path, reason, /*countLines=*/true)) << reason;
  std::size_t read = 0;
  // Asked now and then, as the reader asks at each entity.
  while (ReadDxfLine()) {
    ASSERT_LT(read, numbers.size());
    if (read % 7 == 0) {
      ASSERT_EQ(DxfLineNumberInFile(), numbers[read]) << "piece " << read;
    }
    ++read;
  }
  EXPECT_EQ(read, numbers.size());
  CloseDrawingFile();
  ASSERT_TRUE(OpenDrawingFile(path, reason));
  ASSERT_TRUE(ReadDxfLine());
  EXPECT_EQ(DxfLineNumberInFile(), 0);  // not counted
  CloseDrawingFile();
}

TEST_F(DxfLineReaderTest, EmptyFileHasNoLines) {
  EXPECT_TRUE(ReadAll("").empty());
}

}  // namespace
}  // namespace korvex

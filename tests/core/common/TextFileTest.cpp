#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/mount.h>
#include <unistd.h>

#include "common/OutputSink.h"
#include "common/TextFile.h"
#include "support/PrivateMounts.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kavro-textfile-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Bytes(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  std::vector<std::string> ReadLines(const fs::path& p, int codePage = TextFile::CodePageSystem) {
    TextFile f;
    EXPECT_TRUE(f.Open(p, TextFile::ModeRead | TextFile::TypeText));
    f.SetFileCodePage(codePage);
    std::vector<std::string> lines;
    std::string line;
    while (f.ReadString(line)) lines.push_back(line);
    return lines;
  }
  fs::path dir_;
};

TEST_F(TextFileTest, UnicodeWritingGivesBomAndUtf16LeWithCrLf) {
  TextFile f;
  ASSERT_TRUE(f.Open(dir_ / "ab.txt", TextFile::ModeWrite | TextFile::ModeCreate | TextFile::TypeText |
                                          TextFile::ModeWriteUnicode));
  EXPECT_TRUE(f.WriteString("A\r\n"));
  EXPECT_TRUE(f.WriteString("B\r\n"));
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(Bytes(dir_ / "ab.txt"), std::string("\xFF\xFE\x41\x00\x0D\x00\x0A\x00\x42\x00\x0D\x00\x0A\x00", 14));
}

TEST_F(TextFileTest, Utf16FileReadsLikeItsNarrowTwin) {
  const std::string text = "<name>Zürich 北京 \xF0\x9D\x84\x9E</name>\r\nsecond\r\n\r\nlast";
  {
    TextFile wide;
    ASSERT_TRUE(wide.Open(dir_ / "wide.kml", TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode));
    EXPECT_TRUE(wide.WriteString(text));
    EXPECT_TRUE(wide.Close());
    TextFile narrow;
    ASSERT_TRUE(narrow.Open(dir_ / "narrow.kml", TextFile::ModeWrite | TextFile::ModeCreate));
    EXPECT_TRUE(narrow.WriteString(text));
    EXPECT_TRUE(narrow.Close());
  }
  // A character beyond the BMP as a surrogate pair.
  EXPECT_NE(Bytes(dir_ / "wide.kml").find(std::string("\x34\xD8\x1E\xDD", 4)), std::string::npos);
  const std::vector<std::string> expected = {"<name>Zürich 北京 \xF0\x9D\x84\x9E</name>", "second", "", "last"};
  EXPECT_EQ(ReadLines(dir_ / "wide.kml"), expected);
  EXPECT_EQ(ReadLines(dir_ / "narrow.kml"), expected);
  TextFile probe;
  ASSERT_TRUE(probe.Open(dir_ / "wide.kml", TextFile::ModeRead | TextFile::TypeText));
  EXPECT_TRUE(probe.UnicodeText());
  EXPECT_EQ(probe.OpenFlags() & TextFile::TypeBinary, TextFile::TypeBinary);
}

TEST_F(TextFileTest, NarrowCodePagesGetHashForWhatTheyCannotHold) {
  EXPECT_EQ(Utf8ToCodePage("Zürich 北京", TextFile::CodePageAscii), "Z#rich ##");
  EXPECT_EQ(Utf8ToCodePage("Zürich 北京", TextFile::CodePageLatin1), "Z\xFCrich ##");
  EXPECT_EQ(Utf8ToCodePage("Zürich", TextFile::CodePageUtf8), "Zürich");
  EXPECT_EQ(Utf8ToUtf16Le("\xFF" "A"), std::string("\xFD\xFF\x41\x00", 4));  // invalid byte: U+FFFD
  TextFile f;
  ASSERT_TRUE(f.Open(dir_ / "latin.txt", TextFile::ModeWrite | TextFile::ModeCreate));
  f.SetFileCodePage(TextFile::CodePageLatin1);
  EXPECT_TRUE(f.WriteString("Käse 北\r\n"));
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(Bytes(dir_ / "latin.txt"), "K\xE4se #\r\n");
  EXPECT_EQ(ReadLines(dir_ / "latin.txt", TextFile::CodePageLatin1), (std::vector<std::string>{"Käse #"}));
}

// Each character placed at every offset of a long ASCII text, so it falls before, inside and
// after the runs that are widened many bytes at a time; the expected bytes are written out by hand.
TEST_F(TextFileTest, Utf16OfOneCharacterAtEveryPlaceInAsciiText) {
  const std::vector<std::pair<std::string, std::string>> characters = {
      {"\xC3\xBC", std::string("\xFC\x00", 2)},                         // ü
      {"\xE5\x8C\x97", std::string("\x17\x53", 2)},                    // 北
      {"\xF0\x9D\x84\x9E", std::string("\x34\xD8\x1E\xDD", 4)},        // a surrogate pair
      {"\xFF", std::string("\xFD\xFF", 2)},                             // not UTF-8
      {"\xED\xA0\x80", std::string("\xFD\xFF", 2)},                     // an encoded surrogate
      {"\xE5\x8C", std::string("\xFD\xFF\xFD\xFF", 4)},                  // cut short
  };
  auto wide = [](const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
      out += c;
      out += '\0';
    }
    return out;
  };
  const std::string ascii = "<coordinates>121.5654297,25.0330009,12.50</coordinates>\r\n";
  for (const auto& [utf8, utf16] : characters) {
    for (std::size_t at = 0; at <= ascii.size(); ++at) {
      const std::string text = ascii.substr(0, at) + utf8 + ascii.substr(at);
      const std::string expected = wide(ascii.substr(0, at)) + utf16 + wide(ascii.substr(at));
      ASSERT_EQ(Utf8ToUtf16Le(text), expected) << "at " << at << " of " << utf16.size() << "-byte UTF-16";
    }
  }
  // The file's writes give the same bytes, however many of them there are.
  TextFile f;
  ASSERT_TRUE(f.Open(dir_ / "w.kml", TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode));
  std::string all;
  for (int i = 0; i < 3000; ++i) {
    const std::string piece = ascii.substr(0, static_cast<std::size_t>(i) % ascii.size()) + "北" + std::to_string(i);
    all += piece;
    EXPECT_TRUE(f.WriteString(piece));
  }
  const std::string big = std::string(200000, 'k') + "ü";
  all += big;
  EXPECT_TRUE(f.WriteString(big));
  EXPECT_TRUE(f.WriteString("end"));
  all += "end";
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(Bytes(dir_ / "w.kml"), "\xFF\xFE" + Utf8ToUtf16Le(all));
}

// Small pieces go through the buffer, large ones straight to the file: the order stays.
TEST_F(TextFileTest, LargeAndSmallWritesKeepTheirOrder) {
  FileSink sink;
  ASSERT_TRUE(sink.Open(dir_ / "mixed.txt"));
  std::string expected;
  for (std::size_t size : {3u, 70000u, 5u, 1u << 16, 1u << 20, 7u, (1u << 20) + 3, 2u}) {
    const std::string piece(size, static_cast<char>('a' + expected.size() % 26));
    expected += piece;
    EXPECT_TRUE(sink.Write(piece));
  }
  EXPECT_TRUE(sink.Close());
  EXPECT_EQ(Bytes(dir_ / "mixed.txt"), expected);
  if (fs::exists("/dev/full")) {
    FileSink full;
    ASSERT_TRUE(full.Open("/dev/full"));
    full.Write("x");
    EXPECT_FALSE(full.Write(std::string(1 << 17, 'y')));  // the buffered byte and the large piece both fail
    std::string error;
    EXPECT_FALSE(full.Close(&error));
    EXPECT_EQ(error, std::strerror(ENOSPC));
  }
}

TEST_F(TextFileTest, FailuresAreReported) {
  TextFile f;
  std::string error;
  EXPECT_FALSE(f.Open(dir_ / "missing" / "x.txt", TextFile::ModeWrite | TextFile::ModeCreate, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(f.Open(dir_ / "nothing.txt", TextFile::ModeRead, &error));
  if (fs::exists("/dev/full")) {
    TextFile full;
    ASSERT_TRUE(full.Open("/dev/full", TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode));
    for (int i = 0; i < 10000; ++i) full.WriteString("a line that cannot be written\r\n");
    EXPECT_FALSE(full.Close());

    FileSink sink;
    ASSERT_TRUE(sink.Open("/dev/full"));
    sink.Write("x");
    EXPECT_FALSE(sink.Close(&error));
    EXPECT_FALSE(error.empty());
  }
}

TEST_F(TextFileTest, ReplacingSinkLeavesTheTargetAloneUntilCommit) {
  const fs::path target = dir_ / "out.gpx";
  {
    std::ofstream old(target);
    old << "earlier";
  }
  {
    ReplacingFileSink sink;
    ASSERT_TRUE(sink.Open(target));
    sink.Write("new text");
    EXPECT_EQ(Bytes(target), "earlier");
  }  // dropped without Commit
  EXPECT_EQ(Bytes(target), "earlier");
  ASSERT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  ReplacingFileSink sink;
  ASSERT_TRUE(sink.Open(target));
  std::string big(3 << 20, 'x');  // larger than the buffer
  EXPECT_TRUE(sink.Write(big));
  EXPECT_TRUE(sink.Write("end"));
  EXPECT_TRUE(sink.Commit());
  EXPECT_EQ(Bytes(target), big + "end");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  std::string error;
  EXPECT_FALSE(ReplacingFileSink().Open(dir_ / "no" / "x.kml", &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(TextFileTest, ReplacingTextFileAppearsWholeAtCloseOnly) {
  const fs::path target = dir_ / "photos.kml";
  {
    std::ofstream old(target);
    old << "earlier";
  }
  const unsigned flags = TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode | TextFile::ModeReplace;
  {
    TextFile f;
    ASSERT_TRUE(f.Open(target, flags));
    EXPECT_TRUE(f.WriteString("A\r\n"));
    EXPECT_EQ(Bytes(target), "earlier");
  }  // dropped without Close
  EXPECT_EQ(Bytes(target), "earlier");
  {
    TextFile f;
    ASSERT_TRUE(f.Open(target, flags));
    EXPECT_TRUE(f.WriteString("A\r\n"));
    f.Discard();
    EXPECT_FALSE(f.IsOpen());
  }
  EXPECT_EQ(Bytes(target), "earlier");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  TextFile f;
  ASSERT_TRUE(f.Open(target, flags));
  EXPECT_TRUE(f.WriteString("Ä\r\n"));
  std::string error;
  EXPECT_TRUE(f.Close(&error)) << error;
  EXPECT_EQ(Bytes(target), std::string("\xFF\xFE\xC4\x00\x0D\x00\x0A\x00", 8));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  EXPECT_FALSE(TextFile().Open(dir_ / "no" / "x.kml", flags, &error));
  EXPECT_EQ(error, std::strerror(ENOENT));
}

// A disk that fills up half-way through a replacing write: the writer hears why, the file that
// was there stays as it was, and no temporary file is left.
TEST_F(TextFileTest, ReplacingWriteThatFailsHalfWayLeavesTheOldFile) {
  const fs::path mnt = dir_ / "small";
  fs::create_directory(mnt);
  bool skipped = false;
  const std::string found = test::InPrivateChild(
      [&] {
        if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0) ::_exit(test::kNoPrivateMounts);
        for (const char* name : {"a.kml", "b.bin"}) std::ofstream(mnt / name) << "earlier";
        const std::string line(1000, 'x');
        std::string out;
        TextFile wide;
        std::string error;
        if (!wide.Open(mnt / "a.kml", TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode |
                                          TextFile::ModeReplace, &error))
          return "open: " + error;
        for (int i = 0; i < 200; ++i) wide.WriteString(line);
        out += wide.Close(&error) ? "closed" : error;
        ReplacingFileSink plain;
        if (!plain.Open(mnt / "b.bin", &error)) return "open: " + error;
        for (int i = 0; i < 200; ++i) plain.Write(line);
        out += "|" + (plain.Commit(&error) ? std::string("committed") : error);
        for (const char* name : {"a.kml", "b.bin"}) out += "|" + Bytes(mnt / name);
        out += "|" + std::to_string(std::distance(fs::directory_iterator(mnt), fs::directory_iterator()));
        return out;
      },
      &skipped);
  if (skipped) GTEST_SKIP() << "no private tmpfs mount possible here";
  const std::string noSpace = std::strerror(ENOSPC);
  EXPECT_EQ(found, noSpace + "|" + noSpace + "|earlier|earlier|2");
}

}  // namespace
}  // namespace kavro

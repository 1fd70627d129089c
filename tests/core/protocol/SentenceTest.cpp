#include "protocol/Sentence.h"

#include <gtest/gtest.h>

namespace kavro {
namespace {

TEST(Sentence, ChecksumCoversTextBetweenDollarAndStar) {
  // P^M^T^K^1^8^2^,^2^,^3 = 0x38
  EXPECT_EQ(AppendChecksum("$PMTK182,2,3"), "$PMTK182,2,3*38\r\n");
  EXPECT_EQ(ChecksumDigits("PMTK182,2,3"), "38");
  EXPECT_EQ(AppendChecksum("$KAVRO580,1").substr(0, 12), "$KAVRO580,1*");
  // Upper-case digits.
  EXPECT_EQ(AppendChecksum("$PMTK182,1,3,50"), "$PMTK182,1,3,50*12\r\n");
}

TEST(Sentence, PmtkArgumentPresence) {
  EXPECT_EQ(PmtkBody(7, 0, 0), "$PMTK182,7,0,0");
  EXPECT_EQ(PmtkBody(12, 0, 0), "$PMTK182,12,0,0");
  EXPECT_EQ(PmtkBody(6, 2, 0), "$PMTK182,6,2,0");
  EXPECT_EQ(PmtkBody(6, 1, 0), "$PMTK182,6,1");
  EXPECT_EQ(PmtkBody(2, 3, 0), "$PMTK182,2,3");
  EXPECT_EQ(PmtkBody(2, 0, 0), "$PMTK182,2");
  EXPECT_EQ(PmtkBody(400, 5, 5), "$PMTK400");
}

TEST(Sentence, PmtkArgumentFormats) {
  EXPECT_EQ(PmtkBody(1, 1, 255), "$PMTK182,1,1,FF");
  EXPECT_EQ(PmtkBody(1, 2, 16), "$PMTK182,1,2,10");
  EXPECT_EQ(PmtkBody(1, 3, 50), "$PMTK182,1,3,50");
  EXPECT_EQ(PmtkBody(1, 4, 304), "$PMTK182,1,4,304");
  EXPECT_EQ(PmtkBody(3, 8, 255), "$PMTK182,3,8,FF");
  EXPECT_EQ(PmtkBody(3, 4, 255), "$PMTK182,3,4,255");
  EXPECT_EQ(PmtkBody(6, 2, 26), "$PMTK182,6,2,1A");
  EXPECT_EQ(PmtkBody(7, 2031616, 16), "$PMTK182,7,1F0000,10");
  EXPECT_EQ(PmtkBody(14, 921600, 0), "$PMTK182,14,921600");
  EXPECT_EQ(QuickPmtkBody(2, 8, 0), "$PMTK182,2,8");
  EXPECT_EQ(QuickPmtkBody(7, 0, 0), "$PMTK182,7");
}

TEST(Sentence, IdentBodiesCarryTextOnlyFor4And9) {
  EXPECT_EQ(IdentBody(4, "Logger1"), "$KAVRO580,4,Logger1");
  EXPECT_EQ(IdentBody(9, "1"), "$KAVRO580,9,1");
  EXPECT_EQ(IdentBody(5, "ignored"), "$KAVRO580,5");
}

TEST(Sentence, ReplyNumberReadsTheValueField) {
  EXPECT_EQ(ReplyNumber(AppendChecksum("$PMTK182,3,3,50"), false), 50);
  EXPECT_EQ(ReplyNumber(AppendChecksum("$PMTK182,3,8,0001F000"), true), 0x1F000);
  // A two-digit item: the skipped comma keeps the value aligned.
  EXPECT_EQ(ReplyNumber(AppendChecksum("$PMTK182,3,10,77"), false), 77);
  EXPECT_EQ(ReplyNumber("garbage", false), 0);
}

TEST(Sentence, ParseHexTextStopsAtTheFirstNonDigit) {
  EXPECT_EQ(ParseHexText("0x1f0000"), 2031616u);
  EXPECT_EQ(ParseHexText("12G4"), 18u);
  EXPECT_EQ(ParseHexText(""), 0u);
}

TEST(Sentence, CompleteSentenceNeedsChecksumAndCrLfWithinTheLength) {
  const std::string r = AppendChecksum("$PMTK182,3,3,50");
  EXPECT_TRUE(IsCompleteSentence(r, 256));
  EXPECT_FALSE(IsCompleteSentence("$PMTK182,3,3,50*1", 256));
  EXPECT_FALSE(IsCompleteSentence("$PMTK182,3,3,50*1F\r", 256));
  EXPECT_FALSE(IsCompleteSentence(r, 5));  // "*" beyond n
}

TEST(Sentence, CutFieldAndFindPmtk182) {
  EXPECT_EQ(CutField("xx$KAVRO001,5,Logger1*00\r\n", ReplyWord::Ident, 12, 17).value(), "Logger1*00\r\n");
  EXPECT_FALSE(CutField("$PMTK001,182,1,3", ReplyWord::Ident, 0, 0).has_value());
  EXPECT_EQ(FindPmtk182("ab$PMTK182,8", 80).value(), 2u);
  EXPECT_FALSE(FindPmtk182("ab$PMTK182,8", 9).has_value());
}

TEST(Sentence, AckAcceptedOnlyForFlag3) {
  EXPECT_TRUE(AckAccepted(AppendChecksum("$PMTK001,182,1,3")));
  EXPECT_FALSE(AckAccepted(AppendChecksum("$PMTK001,182,1,2")));
}

TEST(Sentence, ChecksumOfAReplyIsChecked) {
  const std::string r = AppendChecksum("$PMTK182,3,3,50");
  EXPECT_TRUE(HasValidChecksum(r));
  std::string bad = r;
  bad[14] = '7';
  EXPECT_FALSE(HasValidChecksum(bad));
}

TEST(Sentence, HexPairsRefuseShortOrBadText) {
  std::uint8_t out[4] = {0, 0, 0, 0};
  EXPECT_TRUE(HexPairsToBytes("00FFa17f", out, 4));
  EXPECT_EQ(out[1], 0xFF);
  EXPECT_EQ(out[2], 0xA1);
  EXPECT_FALSE(HexPairsToBytes("00FF", out, 4));
  EXPECT_FALSE(HexPairsToBytes("00ZZ0000", out, 4));
}

}  // namespace
}  // namespace kavro

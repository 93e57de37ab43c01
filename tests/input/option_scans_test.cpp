#include "input/option_scans.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/deck_reader.hpp"

namespace korvant {
namespace {

std::string line80(const std::string& text) {
  return normaliseLine(text);
}

TEST(OptionScans, NvlAcceptsDigitsPointSignsAndExponentLetters) {
  const std::string numeric = "0123456789.EeDd+-";
  for (std::size_t k = 0; k < numeric.size(); ++k)
    EXPECT_TRUE(NVL(line80(std::string(1, numeric[k])), 80, 1)) << numeric[k];
  const std::string other = " ,/AaFfxX*=";
  for (std::size_t k = 0; k < other.size(); ++k)
    EXPECT_FALSE(NVL(line80(std::string(1, other[k])), 80, 1)) << other[k];
  EXPECT_TRUE(NVL(line80("  7"), 80, 3));
  EXPECT_FALSE(NVL(line80("  7"), 80, 81));
}

TEST(OptionScans, StrlnCountsValuesOrCommaFields) {
  struct Case {
    std::string text;
    int count;
  };
  const std::vector<Case> cases = {
      {"1.5E+03, -2, 7", 3},
      {"1,,3", 3},      // two commas: three fields, one of them empty
      {"", 1},          // a blank line still counts one
      {"ZONE 12", 2},   // the E of ZONE starts a value
      {"DEAD 1.0", 3},  // D, then D after A, then 1.0
      {"  10  5  10  0.05", 4},
      {"7", 1},  // a value in column 1
      {"10 5 10 0.05 1.0E10", 5},
      {",", 2},
      {std::string(79, ' ') + "5", 1},        // column 80 seen as the one after 79
      {"1" + std::string(78, ' ') + ",", 1},  // a comma in column 80 is not counted
      {"1" + std::string(77, ' ') + ",", 2},  // one in column 79 is
  };
  for (const Case& c : cases) {
    int count = -1;
    STRLN(line80(c.text), 80, count);
    EXPECT_EQ(count, c.count) << "'" << c.text << "'";
  }
}

TEST(OptionScans, FirstLetterScansFromItsColumnInEitherCase) {
  struct Case {
    std::string text;
    int from;
    std::string letters;
    char found;
  };
  const std::vector<Case> cases = {
      {"*SOLUTION ANALYSIS=LINEAR", 11, "LN", 'N'},  // the N of ANALYSIS comes first
      {"*SOLUTION =LINEAR", 11, "LN", 'L'},
      {"*solution =nonlinear", 11, "LN", 'N'},
      {"*SOLUTION", 11, "LN", 0},
      {"*COUPLING", 9, "YN", 0},  // the N of COUPLING stands before column 9
      {"*COUPLING = no", 9, "YN", 'N'},
      {"*EQUATION SOLVER =FULL", 17, "FB", 'F'},
      {"*EQUATION SOLVER =band", 17, "FB", 'B'},
  };
  for (const Case& c : cases)
    EXPECT_EQ(firstLetter(line80(c.text), c.from, c.letters), c.found) << c.text;
}

TEST(OptionScans, EqualsThenLetterLooksOnlyAfterAnEqualsSign) {
  const std::string g20 = "*NEUTRAL =" + std::string(19, ' ') + "G";  // G 20 after the =
  const std::string g21 = "*NEUTRAL =" + std::string(20, ' ') + "G";  // G 21 after the =
  const std::string second = "*NEUTRAL =" + std::string(22, ' ') + "= w";
  struct Case {
    std::string text;
    int from;
    std::string letters;
    int span;
    char found;
  };
  const std::vector<Case> cases = {
      {"*BOUNDARY DERIVATIVES = MIXED", 13, "CME", 0, 'M'},  // E of DERIVATIVES ignored
      {"*BOUNDARY DER = central", 13, "CME", 0, 'C'},
      {"*BOUNDARY DER CENTRAL", 13, "CME", 0, 0},
      {"*X=M", 5, "CME", 0, 0},  // the = before the start column is not seen
      {g20, 9, "GW", 20, 'G'},
      {g21, 9, "GW", 20, 0},
      {g21, 9, "GW", 0, 'G'},
      {second, 9, "GW", 20, 'W'},  // nothing after the first =: the next one decides
  };
  for (const Case& c : cases)
    EXPECT_EQ(equalsThenLetter(line80(c.text), c.from, c.letters, c.span), c.found) << c.text;
}

TEST(OptionScans, EqualsThenNumberReadsOneWholeNumber) {
  DeckReader deck = DeckReader::fromText("*ZONE = 3\n");
  const std::string line = deck.readLine("test");
  int value = 7;
  EXPECT_TRUE(equalsThenNumber(deck, line, 1, 80, value));
  EXPECT_EQ(value, 3);

  value = 7;
  EXPECT_FALSE(equalsThenNumber(deck, line80("*ZONE 3"), 1, 80, value));
  EXPECT_EQ(value, 7);
  EXPECT_FALSE(equalsThenNumber(deck, line80("*ZONE = 3"), 8, 80, value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(equalsThenNumber(deck, line80("*MAT TYPE=S, MATID= 12 "), 15, 80, value));
  EXPECT_EQ(value, 12);
}

TEST(OptionScans, EqualsThenNumberRejectsTextBlankAndDecimals) {
  DeckReader deck = DeckReader::fromText("*LAYER\n*ZONE = A\n");
  deck.readLine("test");
  deck.readLine("test");
  for (const std::string text : {"*ZONE = A", "*ZONE =", "*ZONE = 2.5"}) {
    int value = 7;
    try {
      equalsThenNumber(deck, line80(text), 1, 80, value);
      ADD_FAILURE() << "no error for " << text;
    } catch (const DeckError& e) {
      EXPECT_EQ(e.lineNumber(), 2) << text;
      EXPECT_EQ(e.lineText(), line80(text));
    }
  }
}

TEST(OptionScans, FindWordInOneCaseWithinTheStartColumns) {
  struct Case {
    std::string text;
    int from;
    int to;
    int column;
  };
  const std::string at60 = std::string(59, ' ') + "OPTION";
  const std::string at61 = std::string(60, ' ') + "OPTION";
  const std::vector<Case> cases = {
      {"*FILE PRINT OPTION", 10, 60, 13},
      {"*file print option", 10, 60, 13},
      {"*FILE PRINT Option", 10, 60, 0},
      {at60, 10, 60, 60},
      {at61, 10, 60, 0},
      {"*FILE PRINT", 10, 60, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(findWord(line80(c.text), "OPTION", c.from, c.to), c.column) << c.text;
}

TEST(OptionScans, LookAheadSortsListLines) {
  DeckReader deck = DeckReader::fromText("  1 2\n** note\n * note\n\n*SLAB\n");
  EXPECT_EQ(lookAhead(deck, "list"), ListLine::Data);
  EXPECT_EQ(deck.lineNumber(), 0);  // a data line is left for the caller
  deck.readLine("list");
  EXPECT_EQ(lookAhead(deck, "list"), ListLine::Comment);
  EXPECT_EQ(lookAhead(deck, "list"), ListLine::Comment);
  EXPECT_EQ(deck.lineNumber(), 3);                     // both comments consumed
  EXPECT_EQ(lookAhead(deck, "list"), ListLine::Data);  // a blank line belongs to the list
  deck.readLine("list");
  EXPECT_EQ(lookAhead(deck, "list"), ListLine::End);
  EXPECT_EQ(deck.readLine("list"), line80("*SLAB"));  // the statement stays unread
}

TEST(OptionScans, CountedLineReadsExactlyItsOwnValues) {
  DeckReader deck = DeckReader::fromText("1 2 3\n4 5\n1,,3\n");
  EXPECT_EQ(countNextLine(deck, "list"), 3);
  EXPECT_EQ(deck.lineNumber(), 0);
  EXPECT_EQ(readCountedLine(deck, "list"), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(readCountedLine(deck, "list"), (std::vector<double>{4, 5}));
  EXPECT_EQ(readCountedLine(deck, "list"), (std::vector<double>{1, 0, 3}));
  EXPECT_TRUE(deck.atEnd());
}

}  // namespace
}  // namespace korvant

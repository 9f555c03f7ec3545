// Device search bookkeeping: the hit matrix, the result listing, the progress and the port keys.
#include "device/port_keys.h"
#include "device/search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace k7310 {
namespace {

class SearchListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pts7 = keys.Key("/dev/pts/7");
    usb0 = keys.Key("/dev/ttyUSB0");
  }
  // The memo lines as the English edition shows them.
  struct Listing {
    std::vector<std::string> lines;
    int count = 0;
  };
  Listing List(int last, const std::function<std::string(int)>& name) const {
    const auto entries = ListSearchResults(hits, last, last);
    return {SearchMemoLines(entries, name, {"COM", "--Device ID", " , "}), static_cast<int>(entries.size())};
  }
  Listing ListAll() const { return List(kFullListLast, Name()); }
  std::function<std::string(int)> Name() const {
    return [this](int row) { return keys.Name(row); };
  }

  PortKeys keys;
  SearchHits hits;
  int pts7 = 0;
  int usb0 = 0;
};

int EntriesIn(const std::string& line) {
  int n = 0;
  for (std::size_t at = line.find(" , "); at != std::string::npos; at = line.find(" , ", at + 1)) ++n;
  return n;
}

TEST_F(SearchListingTest, TwoIdsOnOnePortShareALine) {
  hits.Mark(pts7, 2);  // ID 3, marked first: the listing goes by column, not by arrival
  hits.Mark(pts7, 0);  // ID 1
  const Listing r = ListAll();
  EXPECT_EQ(r.lines, std::vector<std::string>{"COM/dev/pts/7--Device ID1 , COM/dev/pts/7--Device ID3 , "});
  EXPECT_EQ(r.count, 2);
}

TEST_F(SearchListingTest, SevenAnswersFillLineZeroWithFourThenFive) {
  // Rows upward first: every answer on key 1 precedes those on key 2.
  for (int col : {0, 1, 2}) hits.Mark(usb0, col);
  for (int col : {4, 9, 200, 254}) hits.Mark(pts7, col);
  const Listing r = ListAll();
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0],
            "COM/dev/pts/7--Device ID5 , COM/dev/pts/7--Device ID10 , "
            "COM/dev/pts/7--Device ID201 , COM/dev/pts/7--Device ID255 , ");
  EXPECT_EQ(r.lines[1],
            "COM/dev/ttyUSB0--Device ID1 , COM/dev/ttyUSB0--Device ID2 , "
            "COM/dev/ttyUSB0--Device ID3 , ");
}

TEST_F(SearchListingTest, LineBreaksAtEveryFifthAnswer) {
  struct Case { int answers; std::vector<int> perLine; };
  const Case cases[] = {
      {1, {1}}, {4, {4}}, {5, {4, 1}}, {9, {4, 5}}, {10, {4, 5, 1}}, {14, {4, 5, 5}},
  };
  for (const Case& c : cases) {
    hits.ClearAll();
    for (int j = 0; j < c.answers; ++j) hits.Mark(pts7, j);
    const Listing r = ListAll();
    std::vector<int> perLine;
    for (const std::string& line : r.lines) perLine.push_back(EntriesIn(line));
    EXPECT_EQ(perLine, c.perLine) << c.answers << " answers";
  }
}

TEST_F(SearchListingTest, BroadcastIndexIsListedAsId256) {
  hits.Mark(pts7, 255);
  EXPECT_EQ(ListAll().lines, std::vector<std::string>{"COM/dev/pts/7--Device ID256 , "});
}

TEST_F(SearchListingTest, StartupListingStopsAtRowAndColumnTen) {
  hits.Mark(3, 9);
  hits.Mark(10, 10);
  hits.Mark(11, 0);   // port key above 10
  hits.Mark(3, 11);   // ID 12
  const auto name = [](int row) { return "#" + std::to_string(row); };
  const Listing r = List(kStartupListLast, name);
  EXPECT_EQ(r.lines, std::vector<std::string>{"COM#3--Device ID10 , COM#10--Device ID11 , "});
}

TEST_F(SearchListingTest, NoAnswerListsNothing) {
  const Listing r = ListAll();
  EXPECT_TRUE(r.lines.empty());
  EXPECT_EQ(r.count, 0);
  // Limits beyond the matrix are bounded, not walked off.
  EXPECT_TRUE(ListSearchResults(hits, 1000, 1000).empty());
}

TEST(SearchHits, ClearingAndBounds) {
  SearchHits hits;
  hits.Mark(9, 9);
  hits.Mark(9, 10);
  hits.Mark(10, 9);
  hits.Mark(255, 255);
  hits.ClearStartupArea();
  EXPECT_FALSE(hits.IsHit(9, 9));
  EXPECT_TRUE(hits.IsHit(9, 10));
  EXPECT_TRUE(hits.IsHit(10, 9));
  EXPECT_EQ(hits.At(255, 255), 1.0);

  hits.ClearAll();
  EXPECT_FALSE(hits.IsHit(9, 10));
  EXPECT_FALSE(hits.IsHit(255, 255));

  // A port number outside the matrix (COM300, -1 "none chosen") is not recorded anywhere.
  for (const auto& [row, col] : std::vector<std::pair<int, int>>{{256, 0}, {-1, 0}, {0, 256}, {0, -1}}) {
    hits.Mark(row, col);
    EXPECT_FALSE(hits.IsHit(row, col));
  }
  EXPECT_TRUE(ListSearchResults(hits, 255, 255).empty());
}

TEST(SearchProgress, FirstAndLastProbes) {
  struct Case { int i, j, ports, percent; };
  const Case full[] = {
      {0, 0, 1, 0}, {0, kFullSearchLastIndex, 1, 100}, {0, 0, 3, 0},
      {1, 0, 3, 33}, {2, 9, 3, 67}, {2, kFullSearchLastIndex, 3, 100},
  };
  for (const Case& c : full) {
    EXPECT_EQ(FullSearchProgress(c.i, c.j, c.ports), c.percent) << c.i << "," << c.j << " of " << c.ports;
  }
  const Case startup[] = {
      {0, 0, 1, 10}, {0, kStartupSweepLastIndex, 1, 100}, {0, 0, 3, 3},
      {1, 0, 3, 36}, {2, kStartupSweepLastIndex, 3, 100},
  };
  for (const Case& c : startup) {
    EXPECT_EQ(StartupSweepProgress(c.i, c.j, c.ports), c.percent) << c.i << "," << c.j << " of " << c.ports;
  }
  EXPECT_EQ(FullSearchProgress(0, 0, 0), 0);  // empty port list: nothing swept
  EXPECT_EQ(StartupSweepProgress(0, 0, 0), 0);
}

TEST(PortKeys, CountFromOneSkippingHundredAndStayStable) {
  PortKeys keys;
  EXPECT_EQ(keys.Key("/dev/ttyUSB0"), 1);
  EXPECT_EQ(keys.Key("/dev/pts/7"), 2);
  EXPECT_EQ(keys.Key("/dev/ttyUSB0"), 1);  // seen before
  for (int k = 3; k <= 99; ++k) EXPECT_EQ(keys.Key("/dev/pts/x" + std::to_string(k)), k);
  EXPECT_EQ(keys.Key("/dev/ttyACM0"), 101);  // 100 is the HID link
  EXPECT_EQ(keys.Name(101), "/dev/ttyACM0");
  EXPECT_EQ(keys.Name(99), "/dev/pts/x99");
  EXPECT_EQ(keys.Name(1), "/dev/ttyUSB0");
  EXPECT_EQ(keys.Name(kPortHid), "");
  EXPECT_EQ(keys.Name(102), "");
  EXPECT_EQ(keys.Name(0), "");
  EXPECT_EQ(keys.Name(-1), "");
  EXPECT_EQ(keys.Find("/dev/pts/7"), 2);
  EXPECT_EQ(keys.Find("/dev/never"), kPortNotFound);
  EXPECT_EQ(keys.Count(), 100u);
}

TEST(PortKeys, FullTableGivesZeroAndKeepsOldKeys) {
  PortKeys keys;
  for (int n = 0; n < 254; ++n) keys.Key("p" + std::to_string(n));
  EXPECT_EQ(keys.Find("p253"), 255);
  EXPECT_EQ(keys.Key("one too many"), kPortNotFound);
  EXPECT_EQ(keys.Key("one too many"), kPortNotFound);
  EXPECT_EQ(keys.Find("one too many"), kPortNotFound);
  EXPECT_EQ(keys.Key("p0"), 1);
  EXPECT_EQ(keys.Name(255), "p253");
  EXPECT_EQ(keys.Count(), 254u);
}

TEST(PortNumberFromName, WindowsComNames) {
  struct Case { const char* name; int previous; int number; bool isCom; };
  const Case cases[] = {
      {"COM3", 0, 3, true},
      {"COM10", 7, 10, true},
      {"COM300", 0, 300, true},  // beyond the search matrix: Mark ignores it
      {"COMX", 7, 7, false},
      {"COM", 4, 4, false},
      {"COM-1", 4, 4, false},
      {"COM 3", 4, 4, false},
      {"COM99999999999", 5, 5, false},
      {"/dev/pts/7", 0, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PortNumberFromName(c.name, c.previous), c.number) << c.name;
    EXPECT_EQ(IsComName(c.name), c.isCom) << c.name;
  }
}

}  // namespace
}  // namespace k7310

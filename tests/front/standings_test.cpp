// Points and standings over scripted series: the points table, ties broken by countback and then
// by the latest race, and the grid each standing gives the next race.
#include <gtest/gtest.h>

#include <vector>

#include "front/standings.h"

static ChampionshipProgress seriesOf(const std::vector<std::vector<int>>& races) {
    ChampionshipProgress p;
    ChampionshipCourse c = {};
    c.kind = championshipBuiltIn;
    snprintf(c.name, sizeof c.name, "Clockwork");
    for (size_t i = 0; i < races.size() + 1; i++) p.addCourse(c);
    for (const std::vector<int>& order : races) EXPECT_TRUE(p.addResult(order.data()));
    return p;
}

TEST(Standings, PointsTiesAndTheNextGrid) {
    struct Case {
        const char* what;
        std::vector<std::vector<int>> races;  // finishing orders, winner first
        std::vector<int> order;               // the standings, leader first
        std::vector<int> points;              // by truck
    } cases[] = {
        {"before any race: all level, in truck order (the classic grid)", {}, {0, 1, 2, 3, 4}, {0, 0, 0, 0, 0}},
        {"one race: its order", {{3, 1, 4, 0, 2}}, {3, 1, 4, 0, 2}, {3, 6, 2, 10, 4}},
        // 0: 10+2 = 12 with a win; 1: 6+6 = 12 without: the win decides.
        {"equal points, more wins ahead", {{0, 1, 2, 3, 4}, {2, 1, 3, 4, 0}}, {2, 0, 1, 3, 4}, {12, 12, 14, 7, 5}},
        // 0 and 1 both won once and were second once: the latest race decides (1 won it).
        {"equal in every place, the latest race decides",
         {{0, 1, 2, 3, 4}, {1, 0, 2, 3, 4}},
         {1, 0, 2, 3, 4},
         {16, 16, 8, 6, 4}},
        // 2 (4+4+4 = 12) and 3 (3+3+6 = 12): neither won; 3's second place beats 2's thirds.
        {"equal points, no wins: the seconds count",
         {{0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}, {0, 3, 2, 1, 4}},
         {0, 1, 3, 2, 4},
         {30, 15, 12, 12, 6}},
        // Three level on 20 points, each with a win, a second and a third: the latest race decides.
        {"a three-way tie",
         {{0, 1, 2, 3, 4}, {1, 2, 0, 4, 3}, {2, 0, 1, 3, 4}},
         {2, 0, 1, 3, 4},
         {20, 20, 20, 8, 7}},
    };
    for (const Case& c : cases) {
        ChampionshipProgress p = seriesOf(c.races);
        Standings s = standingsAfter(p, p.racesRun);
        EXPECT_EQ(s.races, (int)c.races.size()) << c.what;
        EXPECT_EQ(std::vector<int>(s.order, s.order + championshipTrucks), c.order) << c.what;
        EXPECT_EQ(std::vector<int>(s.points, s.points + championshipTrucks), c.points) << c.what;
        // The leader starts at the back (slot 0), the last truck at the front.
        int grid[championshipTrucks];
        gridFromStandings(s, grid);
        EXPECT_EQ(std::vector<int>(grid, grid + championshipTrucks), c.order) << c.what;
    }
}

TEST(Standings, CountOnlyTheRacesAskedFor) {
    ChampionshipProgress p = seriesOf({{0, 1, 2, 3, 4}, {4, 3, 2, 1, 0}});
    Standings first = standingsAfter(p, 1), both = standingsAfter(p, 99), none = standingsAfter(p, -1);
    EXPECT_EQ(first.points[4], 2);
    EXPECT_EQ(both.races, 2);
    EXPECT_EQ(both.points[4], 12);
    EXPECT_EQ(both.lastPlace[4], 0);
    EXPECT_EQ(none.races, 0);
    EXPECT_EQ(none.lastPlace[0], -1);
}

#include "token/RowArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

using namespace Token;

namespace {

struct Row {
    std::uint32_t id;
    char text[12];
};

TEST(RowArrayTest, AppendKeepsEveryRowInOrderAcrossGrowth)
{
    RowArray<Row> rows;
    EXPECT_TRUE(rows.IsEmpty());
    for (std::uint32_t i = 0; i < 100; ++i)
        ASSERT_TRUE(rows.Append(Row{i, "r"}));
    ASSERT_EQ(100u, rows.Count());
    std::uint32_t expected = 0;
    for (const Row& row : rows)
        EXPECT_EQ(expected++, row.id);
    RowArray<Row> moved(std::move(rows));
    EXPECT_EQ(100u, moved.Count());
    EXPECT_TRUE(rows.IsEmpty());
}

TEST(RowArrayTest, ResizeZeroesNewRowsAndFailsWithoutChangeWhenTooBig)
{
    RowArray<Row> rows;
    ASSERT_TRUE(rows.Append(Row{7, "seven"}));
    ASSERT_TRUE(rows.Resize(3));
    EXPECT_EQ(7u, rows[0].id);
    EXPECT_EQ(0u, rows[2].id);
    EXPECT_STREQ("", rows[2].text);
    // No allocation could hold it: the byte count would not fit a size_t.
    EXPECT_FALSE(rows.Resize(static_cast<std::size_t>(-1) / 2));
    ASSERT_EQ(3u, rows.Count());
    EXPECT_STREQ("seven", rows[0].text);
    ASSERT_TRUE(rows.Resize(1));
    EXPECT_EQ(1u, rows.Count());
}

}  // namespace

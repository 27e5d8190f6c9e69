#include "widgets/KeyOrder.hpp"

#include "support/qt/QtTests.hpp"

#include <QtTest>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace dorvale {

namespace {

using Keys = std::vector<std::int64_t>;

constexpr std::int64_t least = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t greatest = std::numeric_limits<std::int64_t>::max();

// The order a stable comparison sort of the indexes gives.
std::vector<std::uint32_t> stableOrder(const Keys& keys, Qt::SortOrder order) {
    std::vector<std::uint32_t> indexes(keys.size());
    std::iota(indexes.begin(), indexes.end(), 0U);
    std::stable_sort(indexes.begin(), indexes.end(), [&](std::uint32_t a, std::uint32_t b) {
        return order == Qt::AscendingOrder ? keys[a] < keys[b] : keys[a] > keys[b];
    });
    return indexes;
}

// `count` keys drawn from `distinct` values spread over [from, from + span].
Keys drawn(std::size_t count, std::size_t distinct, std::int64_t from, std::uint64_t span,
           std::uint64_t seed = 7) {
    std::mt19937_64 random(seed);
    Keys values(distinct);
    for (std::int64_t& value : values) {
        value = static_cast<std::int64_t>(static_cast<std::uint64_t>(from) + random() % span);
    }
    Keys keys(count);
    for (std::int64_t& key : keys) {
        key = values[random() % distinct];
    }
    return keys;
}

using Table = std::vector<Keys>;

// The order a stable comparison sort of the indexes gives by every column of `table` in
// turn, in `orders`.
std::vector<std::uint32_t> stableOrder(const Table& table,
                                       const std::vector<Qt::SortOrder>& orders) {
    std::vector<std::uint32_t> indexes(table.empty() ? 0 : table.front().size());
    std::iota(indexes.begin(), indexes.end(), 0U);
    std::stable_sort(indexes.begin(), indexes.end(), [&](std::uint32_t a, std::uint32_t b) {
        for (std::size_t k = 0; k < table.size(); ++k) {
            const Keys& keys = table[k];
            if (keys[a] != keys[b]) {
                return orders[k] == Qt::AscendingOrder ? keys[a] < keys[b] : keys[a] > keys[b];
            }
        }
        return false;
    });
    return indexes;
}

} // namespace

class KeyOrderTest : public QObject {
    Q_OBJECT

private slots:
    void ordersAsAStableSortBothWays_data() {
        QTest::addColumn<Keys>("keys");
        QTest::newRow("no keys") << Keys{};
        QTest::newRow("one key") << Keys{7};
        QTest::newRow("all equal") << Keys{3, 3, 3, 3};
        QTest::newRow("ties") << Keys{5, 3, 9, 3, 9, 9};
        QTest::newRow("negative") << Keys{-2, 5, -2, 0, -7, 5};
        // The full range of keys: too wide to pack with the index.
        QTest::newRow("extremes") << Keys{greatest, least, 0, greatest, -1, least, 1};
        // Only the highest digits differ; the lower passes are skipped.
        Keys high(5'000);
        for (std::size_t i = 0; i < high.size(); ++i) {
            high[i] = static_cast<std::int64_t>(i % 3) << 50;
        }
        QTest::newRow("high digits only") << high;
        QTest::newRow("many ties over four digits") << drawn(100'000, 1'000, -5, 1ULL << 40);
        QTest::newRow("many ties over the full range") << drawn(20'000, 500, least, ~0ULL);
        // 1,024 indexes take 10 bits: a range of 54 bits still packs, one of 55 does not.
        Keys packs = drawn(1'024, 100, 0, 1ULL << 54);
        packs[3] = (std::int64_t{1} << 54) - 1;
        packs[9] = 0;
        QTest::newRow("packed at the limit") << packs;
        Keys wide = packs;
        wide[3] = std::int64_t{1} << 54;
        QTest::newRow("one bit past the limit") << wide;
    }

    void ordersAsAStableSortBothWays() {
        QFETCH(Keys, keys);
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            QCOMPARE(keyOrder(keys, order), stableOrder(keys, order));
        }
    }

    // Every mix of directions over tables whose columns pack together or not, with ties
    // broken in runs long and short.
    void ordersBySeveralKeysAsAStableSort_data() {
        QTest::addColumn<Table>("table");
        QTest::newRow("one row") << Table{{5}, {-3}};
        QTest::newRow("ties on every key") << Table{{1, 1, 2, 1}, {4, 4, 4, 4}, {0, 0, 1, 0}};
        QTest::newRow("few values, packed together") << Table{
            drawn(5'000, 4, 0, 16, 1), drawn(5'000, 3, -8, 100, 2), drawn(5'000, 5, 0, 1 << 20, 3)};
        QTest::newRow("two packed, then one alone")
            << Table{drawn(5'000, 3, 0, 1 << 10, 1), drawn(5'000, 50, 0, 1 << 20, 2),
                     drawn(5'000, 30, least, ~0ULL, 3)};
        // Each key is too wide to share an integer with the next, so each is its own pass.
        QTest::newRow("wide keys, one at a time")
            << Table{drawn(20'000, 3, least, ~0ULL, 1), drawn(20'000, 40, 0, 1ULL << 50, 2),
                     drawn(20'000, 2'000, -5, 1ULL << 40, 3)};
        // Long runs of ties go through the radix sort, the short ones of the last key do not.
        QTest::newRow("long runs, then short ones")
            << Table{drawn(30'000, 2, 0, 1ULL << 45, 1), drawn(30'000, 40, 0, 1ULL << 30, 2),
                     drawn(30'000, 10'000, 0, 1ULL << 20, 3)};
    }

    void ordersBySeveralKeysAsAStableSort() {
        QFETCH(Table, table);
        const std::size_t mixes = std::size_t{1} << table.size();
        for (std::size_t mix = 0; mix < mixes; ++mix) {
            std::vector<Qt::SortOrder> orders;
            std::vector<OrderKey> keys;
            for (std::size_t k = 0; k < table.size(); ++k) {
                orders.push_back((mix >> k & 1) != 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
                keys.push_back({[&table, k] { return table[k]; }, orders.back()});
            }
            QCOMPARE(keyOrder(table.front().size(), keys), stableOrder(table, orders));
        }
    }
};

DORVALE_QT_TEST(KeyOrderTest)

} // namespace dorvale

#include "KeyOrderTest.moc"

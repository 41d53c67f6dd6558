// The container templates: growth, insertion and removal rules, the values they
// throw, item ownership (TArray) and reference holding (TArrayRef).
#include <Keelwork/TArray.h>
#include <Keelwork/TArrayLine.h>
#include <Keelwork/TArrayRef.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {
// Counts live instances so that ownership mistakes show as leaks or double frees.
struct Tracked {
    static int live;
    int value = 0;
    Tracked() { ++live; }
    Tracked(const Tracked& other) : value(other.value) { ++live; }
    ~Tracked() { --live; }
};
int Tracked::live = 0;

class Shared : public TReference {
public:
    static int live;
    Shared() { ++live; }
    ~Shared() override { --live; }
};
int Shared::live = 0;

int Thrown(const std::function<void()>& op)
{
    try {
        op();
    } catch (TCLASS_EXPECTION e) {
        return e;
    }
    return 0;
}

template <class Array> std::vector<int> Values(const Array& array)
{
    std::vector<int> values;
    for (unsigned long i = 0; i < array.GetItemCount(); ++i)
        values.push_back(array[i].value);
    return values;
}
} // namespace

TEST(TArrayLine, GrowsAndShrinksByEntries)
{
    TArrayLine<void*> line;
    int items[4];
    line.AddItem() = &items[0];
    line.AddItem() = &items[2];
    *line.InsItem(1) = &items[1];
    *line.InsItem(3) = &items[3];
    ASSERT_EQ(line.GetItemCount(), 4u);
    for (unsigned long i = 0; i < 4; ++i)
        EXPECT_EQ(line[i], &items[i]);

    EXPECT_EQ(Thrown([&] { line.InsItem(5); }), TCLASS_EXP_INSERT);
    line.CutItem(4);
    EXPECT_EQ(line.GetItemCount(), 4u);
    line.CutItem(0);
    EXPECT_EQ(line[0], &items[1]);
    line.SubItem();
    EXPECT_EQ(line.GetItemCount(), 2u);
    line.SubItem(10);
    EXPECT_EQ(line.GetItemCount(), 0u);
    line.SubItem();

    TArrayLine<int> numbers;
    int& first = numbers.AddItem(3);
    first = 7;
    EXPECT_EQ(numbers.GetItemCount(), 3u);
    EXPECT_EQ(numbers[0], 7);
    EXPECT_EQ(Thrown([&] { numbers.AddItem(0ul); }), TCLASS_EXP_INDEX);
    TArrayLine<int> copy(numbers);
    numbers.AllDelete();
    EXPECT_EQ(copy.GetItemCount(), 3u);
    EXPECT_EQ(copy[0], 7);
    numbers = copy;
    numbers = numbers;
    EXPECT_EQ(numbers.GetItemCount(), 3u);
}

TEST(TArray, OwnsItsItems)
{
    {
        TArray<Tracked> array;
        array.AddItem().value = 1;
        array.AddItem(2).value = 2;
        array[2].value = 4;
        array.InsItem(2).value = 3;
        array.InsItem(4).value = 5;
        EXPECT_EQ(Values(array), (std::vector<int>{1, 2, 3, 4, 5}));
        EXPECT_EQ(Tracked::live, 5);

        EXPECT_EQ(Thrown([&] { array.InsItem(6); }), TCLASS_EXP_INSERT);
        EXPECT_EQ(Thrown([&] { array.CutItem(5); }), TCLASS_EXP_INDEX);
        EXPECT_EQ(Thrown([&] { array.ExportItem(5); }), TCLASS_EXP_INDEX);
        EXPECT_EQ(Tracked::live, 5);

        array.CutItem(0ul);
        array.CutItem(&array[1]);
        Tracked stranger;
        array.CutItem(&stranger);
        EXPECT_EQ(array.ExportItem(&stranger), &stranger);
        EXPECT_EQ(Values(array), (std::vector<int>{2, 4, 5}));
        EXPECT_EQ(Tracked::live, 4);

        Tracked* exported = array.ExportItem(0ul);
        Tracked* other = array.ExportItem(&array[1]);
        EXPECT_EQ(exported->value, 2);
        EXPECT_EQ(other->value, 5);
        EXPECT_EQ(Values(array), (std::vector<int>{4}));
        array.ImportItem(exported);
        array.ImportItem(other);
        EXPECT_EQ(array.ImportItem(nullptr), nullptr);

        TArray<Tracked> copy(array);
        EXPECT_EQ(Values(copy), (std::vector<int>{4, 2, 5}));
        EXPECT_NE(&copy[0], &array[0]);
        EXPECT_EQ(Tracked::live, 7);
        copy.SubItem(2);
        copy = array;
        copy = copy;
        EXPECT_EQ(Values(copy), (std::vector<int>{4, 2, 5}));
        copy.SubItem(10);
        EXPECT_EQ(copy.GetItemCount(), 0u);
        EXPECT_EQ(Tracked::live, 4);
        array.AllDelete();
        EXPECT_EQ(Tracked::live, 1);
        array.AddItem(2);
    }
    EXPECT_EQ(Tracked::live, 0);
}

TEST(TArrayRef, EachEntryHoldsOneReference)
{
    Shared* a = new Shared;
    Shared* b = new Shared;
    {
        TArrayRef<Shared> array;
        EXPECT_EQ(array.GetItemIndex(*a), 0xFFFFFFFFul);
        array.AddItem(*a);
        array.AddItem(*a);
        array.InsItem(1, *b);
        EXPECT_EQ(a->GetRefCount(), 3u);
        EXPECT_EQ(b->GetRefCount(), 2u);
        EXPECT_EQ(array.GetItemIndex(*b), 1u);

        // Cut by object: every entry referring to it is released.
        array.CutItem(*a);
        EXPECT_EQ(array.GetItemCount(), 1u);
        EXPECT_EQ(a->GetRefCount(), 1u);

        array |= *b;
        array |= *a;
        EXPECT_EQ(array.GetItemCount(), 2u);
        Shared* items[] = {a, b};
        array.AddItem(2, items);
        EXPECT_EQ(array.GetItemCount(), 4u);

        Shared& made = array.AddItem();
        EXPECT_EQ(made.GetRefCount(), 1u);
        array.InsItem(0);
        EXPECT_EQ(Shared::live, 4);
        EXPECT_EQ(Thrown([&] { array.InsItem(7); }), TCLASS_EXP_INSERT);
        EXPECT_EQ(Thrown([&] { array.InsItem(7, *a); }), TCLASS_EXP_INSERT);
        EXPECT_EQ(Thrown([&] { array.CutItem(6); }), TCLASS_EXP_INDEX);

        // Assignment keeps items held by both sides alive throughout.
        TArrayRef<Shared> other;
        other.AddItem(*b);
        array = other;
        EXPECT_EQ(Shared::live, 2);
        EXPECT_EQ(b->GetRefCount(), 3u);
        EXPECT_EQ(a->GetRefCount(), 1u);
        array = array;
        EXPECT_EQ(b->GetRefCount(), 3u);

        other |= array;
        EXPECT_EQ(other.GetItemCount(), 1u);
        TArrayRef<Shared> copy(other);
        EXPECT_EQ(b->GetRefCount(), 4u);
        copy.SubItem(5);
        copy.SubItem();
        EXPECT_EQ(b->GetRefCount(), 3u);
        array.AllRelease();
        EXPECT_EQ(b->GetRefCount(), 2u);
    }
    EXPECT_EQ(a->Release(), 0u);
    EXPECT_EQ(b->Release(), 0u);
    EXPECT_EQ(Shared::live, 0);
}

TEST(TArrayRef, TheSameObjectTwiceIsReleasedTwice)
{
    Shared* item = new Shared;
    TArrayRef<Shared> array;
    array.AddItem(*item);
    array.AddItem(*item);
    item->Release();
    EXPECT_EQ(item->GetRefCount(), 2u);
    array.CutItem(*item);
    EXPECT_EQ(array.GetItemCount(), 0u);
    EXPECT_EQ(Shared::live, 0);
}

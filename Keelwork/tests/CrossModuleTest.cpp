// Objects made in one module are freed in another: every object and block lives
// on the foundation library's heap, whatever module calls new or delete.
#include <Keelwork/TMemory.h>
#include <Keelwork/TReference.h>
#include <Keelwork/TString.h>

#include <gtest/gtest.h>

extern "C" {
__declspec(dllimport) TMemory* CrossMakeMemory(unsigned long size);
__declspec(dllimport) TString* CrossMakeString(const char* text);
__declspec(dllimport) unsigned long CrossGrowAndDelete(TMemory* memory);
__declspec(dllimport) void CrossDeleteString(TString* text);
__declspec(dllimport) unsigned long CrossRelease(TReference* object);
}

namespace {
class Counted : public TReference {
public:
    static int live;
    Counted() { ++live; }
    ~Counted() override { --live; }
};
int Counted::live = 0;
} // namespace

TEST(CrossModule, MadeThereFreedHere)
{
    for (int round = 0; round < 100; ++round) {
        TMemory* memory = CrossMakeMemory(100);
        ASSERT_EQ(memory->GetSize(), 100u);
        EXPECT_EQ(static_cast<unsigned char*>(*memory)[99], 'm');
        memory->AddMemory(1000, 'h');
        delete memory;

        TString* text = CrossMakeString("cross");
        *text &= TString(" module");
        EXPECT_EQ(*text, "cross module");
        delete text;
    }
}

TEST(CrossModule, MadeHereFreedThere)
{
    for (int round = 0; round < 100; ++round) {
        TMemory* memory = new TMemory;
        memory->Alloc(10, 'x');
        EXPECT_EQ(CrossGrowAndDelete(memory), 4106u);
        CrossDeleteString(new TString("here"));

        Counted* object = new Counted;
        object->AddRef();
        EXPECT_EQ(CrossRelease(object), 1u);
        EXPECT_EQ(CrossRelease(object), 0u);
        EXPECT_EQ(Counted::live, 0);
    }
}

// Type words, reference counting and the object exception of the object base.
#include <Keelwork/TMemory.h>
#include <Keelwork/TReference.h>
#include <Keelwork/TString.h>

#include <gtest/gtest.h>

namespace {
// A reference-counted class of another library, stamping its value as classes do.
class Counted : public TReference {
public:
    explicit Counted(bool* destroyed = nullptr) : m_Destroyed(destroyed)
    {
        m_ClassType = 0x02000011ul;
    }
    ~Counted() override
    {
        if (m_Destroyed) *m_Destroyed = true;
    }

private:
    bool* m_Destroyed;
};
} // namespace

TEST(TobjectBase, ClassesStampTheirTypeWords)
{
    TMemoryBase block;
    TMemory memory;
    TString text;
    TReference* reference = new TReference;
    Counted* brush = new Counted;
    struct Case {
        const TobjectBase& object;
        uint32_t word;
        unsigned short type;
        unsigned char dllType;
    } cases[] = {
        {block, 0x00000010, 0x0000, 0x10},
        {memory, 0x00000011, 0x0000, 0x11},
        {text, 0x00000020, 0x0000, 0x20},
        {*reference, 0x00010000, 0x0001, 0x00},
        // The flag set by TReference survives the derived class's stamp.
        {*brush, 0x02010011, 0x0201, 0x11},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.object.GetClassWord(), c.word);
        EXPECT_EQ(c.object.GetClassType(), c.type);
        EXPECT_EQ(c.object.GetClassTypeRef(), 0);
        EXPECT_EQ(c.object.GetClassDllType(), c.dllType);
    }
    EXPECT_EQ(brush->GetClassWord() & TClassTypeSt::KindMask, 0x02000011u);
    // Bound to references here: the constants must be exported by the library.
    EXPECT_EQ(reference->GetClassWord() & TClassTypeSt::FlagMask, TClassTypeSt::ReferenceFlag);
    reference->Release();
    brush->Release();
}

TEST(TobjectBase, NumberAssignmentKeepsFlagsAndWordAssignmentCopiesAll)
{
    TClassTypeSt word(0x12345678);
    word = 0x03000001ul;
    EXPECT_EQ(word.GetWord(), 0x03340001u);
    word = TClassTypeSt(0x00000010);
    EXPECT_EQ(word.GetWord(), 0x00000010u);
}

TEST(TReference, LastReleaseDestroysTheObject)
{
    bool destroyed = false;
    Counted* object = new Counted(&destroyed);
    EXPECT_EQ(object->GetRefCount(), 1u);
    EXPECT_EQ(object->AddRef(), object);
    EXPECT_EQ(object->Connect(), object);
    EXPECT_EQ(object->Release(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(TReference, CopyIsANewObjectWithOneHolder)
{
    TReference* source = new TReference;
    source->AddRef();
    source->AddRef();
    TReference* copy = new TReference(*source);
    EXPECT_EQ(copy->GetRefCount(), 1u);
    EXPECT_EQ(copy->GetClassWord(), source->GetClassWord());
    *copy = *source;
    EXPECT_EQ(copy->GetRefCount(), 1u);
    EXPECT_EQ(copy->Release(), 0u);
    EXPECT_EQ(source->Release(), 2u);
    source->Release();
    source->Release();
}

TEST(TobjectBase, ObjectExpectionIsThrownByValue)
{
    TMemory object;
    try {
        throw TobjectBase::TobjectExpection(&object, 32);
    } catch (TobjectBase::TobjectExpection e) {
        EXPECT_EQ(e.m_lpObject, static_cast<TobjectBase*>(&object));
        EXPECT_EQ(e.m_Code, 32u);
    }
}

TEST(TobjectBase, ModuleHandles)
{
    EXPECT_EQ(TobjectBase::GetDllHandle(), GetModuleHandleA("Keelwork.dll"));
    TobjectBase::m_hInst = GetModuleHandleA(nullptr);
    EXPECT_EQ(TobjectBase::GetAppHandle(), GetModuleHandleA(nullptr));
}

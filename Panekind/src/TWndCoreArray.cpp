// The exported instantiation of TArrayRef<TWndCore>.
#include <Panekind/TWinApp.h>

// GCC exports no member defined inside the class body through a class-level
// explicit instantiation, and every member of TArrayRef is; each is therefore
// instantiated and exported one by one.
using TWndCoreArray = TArrayRef<TWndCore>;

template PANEKIND_API TWndCoreArray::TArrayRef();
template PANEKIND_API TWndCoreArray::TArrayRef(const TWndCoreArray&);
template PANEKIND_API TWndCoreArray& TWndCoreArray::operator=(const TWndCoreArray&);
template PANEKIND_API TWndCoreArray::~TArrayRef();
template PANEKIND_API TWndCore& TWndCoreArray::AddItem();
template PANEKIND_API TWndCore& TWndCoreArray::AddItem(unsigned long);
template PANEKIND_API TWndCore& TWndCoreArray::AddItem(TWndCore&);
template PANEKIND_API void TWndCoreArray::AddItem(unsigned long, TWndCore** const);
template PANEKIND_API TWndCore& TWndCoreArray::InsItem(unsigned long);
template PANEKIND_API TWndCore& TWndCoreArray::InsItem(unsigned long, TWndCore&);
template PANEKIND_API void TWndCoreArray::SubItem();
template PANEKIND_API void TWndCoreArray::SubItem(unsigned long);
template PANEKIND_API void TWndCoreArray::CutItem(unsigned long);
template PANEKIND_API void TWndCoreArray::CutItem(const TWndCore&);
template PANEKIND_API void TWndCoreArray::AllRelease();
template PANEKIND_API unsigned long TWndCoreArray::GetItemIndex(const TWndCore&) const;
template PANEKIND_API TWndCore& TWndCoreArray::operator|=(TWndCore&);
template PANEKIND_API TWndCoreArray& TWndCoreArray::operator|=(const TWndCoreArray&);
template PANEKIND_API TWndCore& TWndCoreArray::operator[](unsigned long) const;
template PANEKIND_API unsigned long TWndCoreArray::GetItemCount() const;

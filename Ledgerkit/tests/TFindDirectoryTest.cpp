// The directory tree over a real folder: enumeration depths, searches, renames and moves.
#include <Ledgerkit/TFileServer.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string Str(const TString& s) { return std::string(static_cast<const char*>(s), s.Len()); }

// root: a.txt atxt ABC.doc .dotfile, sub1/c.txt, sub2/d.txt, sub2/deeper/e.txt,
// sub2/deeper/same/, sub1/same/, .config/hidden.txt
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* dir :
             {"sub1", "sub2", "sub2\\deeper", "sub2\\deeper\\same", "sub1\\same", ".config"})
            folder.MakeFolder(dir);
        for (const char* file : {"a.txt", "atxt", "ABC.doc", ".dotfile", "sub1\\c.txt",
                                 "sub2\\d.txt", "sub2\\deeper\\e.txt", ".config\\hidden.txt"})
            folder.Write(file, file);
    }

    // Names of a node's subdirectories and files, sorted, directories with a slash.
    static std::vector<std::string> Listing(TFindDIRECTORY& node)
    {
        std::vector<std::string> names;
        for (unsigned long i = 0; i < node.GetDirectories().GetItemCount(); ++i)
            names.push_back(Str(node.GetDirectories()[i]) + "/");
        for (unsigned long i = 0; i < node.GetFiles().GetItemCount(); ++i)
            names.push_back(Str(node.GetFiles()[i]));
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::vector<std::string> Names(TArrayLine<TFindFILE*>& list)
    {
        std::vector<std::string> names;
        for (unsigned long i = 0; i < list.GetItemCount(); ++i)
            names.push_back(Str(*list[i]));
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder;
    std::string root() const { return folder.Path(); }
    // The root without its trailing backslash, as a program would name it.
    TFileServer tree{TFileName(folder.Path().substr(0, folder.Path().size() - 1).c_str())};
    using List = std::vector<std::string>;
};

TEST_F(TreeTest, DepthOneTwoAndWhole)
{
    tree.EnumFileAndDirectory(1);
    EXPECT_EQ((List{".dotfile", "ABC.doc", "a.txt", "atxt", "sub1/", "sub2/"}), Listing(tree));
    TFindDIRECTORY* sub2 = tree.FindDirectory(TFileName((root() + "sub2").c_str()));
    ASSERT_NE(nullptr, sub2);
    EXPECT_EQ(List{}, Listing(*sub2));

    tree.EnumFileAndDirectory(2);
    sub2 = tree.FindDirectory(TFileName((root() + "sub2").c_str()));
    ASSERT_NE(nullptr, sub2);
    EXPECT_EQ((List{"d.txt", "deeper/"}), Listing(*sub2));
    TFindDIRECTORY* deeper = tree.FindDirectory(TFileName((root() + "sub2\\deeper\\").c_str()));
    ASSERT_NE(nullptr, deeper);
    EXPECT_EQ(List{}, Listing(*deeper));

    tree.EnumFileAndDirectory(0);
    deeper = tree.FindDirectory(TFileName((root() + "SUB2\\Deeper").c_str()));
    ASSERT_NE(nullptr, deeper);
    EXPECT_EQ((List{"e.txt", "same/"}), Listing(*deeper));
    EXPECT_EQ(root() + "sub2\\deeper\\", Str(deeper->GetFullPath()));
    EXPECT_EQ(Str(*deeper->GetParent()), "sub2");
    EXPECT_EQ(&tree, deeper->GetParent()->GetParent());
    EXPECT_EQ(root() + "sub2\\deeper\\e.txt", Str(deeper->GetFiles()[0].GetFullPath()));
    EXPECT_EQ(nullptr, tree.FindDirectory(TFileName((root() + ".config").c_str())));

    EXPECT_EQ(0x01000013u, tree.GetClassWord());
    EXPECT_EQ(0x01000012u, deeper->GetClassWord());
    EXPECT_EQ(0x01000010u, deeper->GetFiles()[0].GetClassWord());
}

TEST_F(TreeTest, FileSearchByNameAndByPattern)
{
    tree.EnumFileAndDirectory(0);
    TFindFILE* a = tree.FindFile(TFileName("A.TXT"));
    ASSERT_NE(nullptr, a);
    EXPECT_EQ("a.txt", Str(*a));
    TFindFILE* c = tree.FindFile(TFileName((root() + "SUB1\\C.txt").c_str()));
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(root() + "sub1\\c.txt", Str(c->GetFullPath()));
    EXPECT_EQ(nullptr, tree.FindFile(TFileName((root() + "nowhere\\c.txt").c_str())));
    EXPECT_EQ(nullptr, tree.FindFile(TFileName("c.txt"))); // not in the root itself
    EXPECT_EQ(nullptr, tree.FindFile(TFileName("a.tx")));

    const struct {
        std::string pattern;
        List expected;
    } cases[] = {
        {"*.txt", {"a.txt", "atxt", "c.txt", "d.txt", "e.txt"}},
        {"ab*", {"ABC.doc"}},
        {"A.TXT", {"a.txt"}},
        {"*.*", {".dotfile", "ABC.doc", "a.txt", "atxt", "c.txt", "d.txt", "e.txt"}},
        {"*", {".dotfile", "ABC.doc", "a.txt", "atxt", "c.txt", "d.txt", "e.txt"}},
        {"*.a-pattern-longer-than-any-name", {}},
        {root() + "sub2\\*.TXT", {"d.txt", "e.txt"}},
        {root() + "gone\\*.*", {}},
    };
    TArrayLine<TFindFILE*> list;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        list.AddItem() = a; // the search empties the list first
        tree.FindFile(TFileName(c.pattern.c_str()), list);
        EXPECT_EQ(c.expected, Names(list));
    }
}

TEST_F(TreeTest, DirectorySearchByName)
{
    tree.EnumFileAndDirectory(0);
    TArrayLine<TFindDIRECTORY*> list;
    tree.FindDirectory(TFileName("SAME"), list);
    ASSERT_EQ(2ul, list.GetItemCount());
    std::vector<std::string> paths = {Str(list[0]->GetFullPath()), Str(list[1]->GetFullPath())};
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ((List{root() + "sub1\\same\\", root() + "sub2\\deeper\\same\\"}), paths);
    tree.FindDirectory(TFileName("missing"), list);
    EXPECT_EQ(2ul, list.GetItemCount()); // appends, never empties
}

TEST_F(TreeTest, RenamesFollowTheDisk)
{
    tree.EnumFileAndDirectory(0);
    TFindFILE* a = tree.FindFile(TFileName("a.txt"));
    ASSERT_NE(nullptr, a);
    EXPECT_EQ("renamed.txt", Str(a->SetNewName("renamed.txt")));
    EXPECT_TRUE(folder.Exists("renamed.txt"));
    EXPECT_FALSE(folder.Exists("a.txt"));
    // Taken names and names with separators are refused; disk and node unchanged.
    for (const char* bad : {"atxt", "..\\out.txt", "x/y", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ("renamed.txt", Str(a->SetNewName(bad)));
    }
    EXPECT_EQ("renamed.txt", Str(a->SetNewName(nullptr)));
    EXPECT_EQ("atxt", folder.Read("atxt"));
    EXPECT_TRUE(folder.Exists("renamed.txt"));

    TFindDIRECTORY* sub2 = tree.FindDirectory(TFileName((root() + "sub2").c_str()));
    ASSERT_NE(nullptr, sub2);
    EXPECT_EQ("moved2", Str(sub2->SetNewName("moved2")));
    EXPECT_EQ("sub2\\d.txt", folder.Read("moved2\\d.txt"));
    TFindFILE* e = tree.FindFile(TFileName((root() + "moved2\\deeper\\e.txt").c_str()));
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(Str(e->GetFullPath()), root() + "moved2\\deeper\\e.txt");

    // A root renames within the folder its own path names.
    TFileServer subRoot(TFileName((root() + "sub1").c_str()));
    EXPECT_EQ(root() + "sub1b", Str(subRoot.SetNewName("sub1b")));
    EXPECT_EQ("sub1\\c.txt", folder.Read("sub1b\\c.txt"));
}

TEST_F(TreeTest, ImportMovesEntriesBetweenDirectories)
{
    tree.EnumFileAndDirectory(0);
    TFindDIRECTORY* sub1 = tree.FindDirectory(TFileName((root() + "sub1").c_str()));
    TFindDIRECTORY* sub2 = tree.FindDirectory(TFileName((root() + "sub2").c_str()));
    TFindDIRECTORY* deeper = tree.FindDirectory(TFileName((root() + "sub2\\deeper").c_str()));
    ASSERT_TRUE(sub1 && sub2 && deeper);

    TFindFILE* c = tree.FindFile(TFileName((root() + "sub1\\c.txt").c_str()));
    ASSERT_EQ(1, sub2->ImportFile(c));
    EXPECT_EQ(sub2, c->GetParent());
    EXPECT_EQ(nullptr, tree.FindFile(TFileName((root() + "sub1\\c.txt").c_str())));
    EXPECT_EQ(c, tree.FindFile(TFileName((root() + "sub2\\c.txt").c_str())));
    EXPECT_EQ("sub1\\c.txt", folder.Read("sub2\\c.txt"));
    EXPECT_FALSE(folder.Exists("sub1\\c.txt"));

    // A name already taken in the target: nothing moves.
    folder.Write("sub1\\d.txt", "other d");
    sub1->EnumFileAndDirectory(0);
    TFindFILE* d = tree.FindFile(TFileName((root() + "sub2\\d.txt").c_str()));
    EXPECT_EQ(0, sub1->ImportFile(d));
    EXPECT_EQ(sub2, d->GetParent());
    EXPECT_EQ("sub2\\d.txt", folder.Read("sub2\\d.txt"));

    // A directory never goes into itself or below itself.
    EXPECT_EQ(0, deeper->ImportFile(sub2));
    EXPECT_EQ(0, sub2->ImportFile(sub2));
    EXPECT_EQ(sub2, deeper->GetParent());
    EXPECT_EQ(0, sub2->ImportFile(static_cast<TFindFILE*>(nullptr)));

    ASSERT_EQ(1, sub1->ImportFile(deeper));
    EXPECT_EQ(sub1, deeper->GetParent());
    EXPECT_EQ(root() + "sub1\\deeper\\", Str(deeper->GetFullPath()));
    EXPECT_EQ("sub2\\deeper\\e.txt", folder.Read("sub1\\deeper\\e.txt"));
    EXPECT_EQ((List{"c.txt", "d.txt"}), Listing(*sub2));
}

TEST_F(TreeTest, FindDataOfFilesAndDirectories)
{
    tree.EnumFileAndDirectory(0);
    TFindFILE* e = tree.FindFile(TFileName((root() + "sub2\\deeper\\e.txt").c_str()));
    ASSERT_NE(nullptr, e);
    WIN32_FIND_DATAA data = e->GetFileInfo();
    EXPECT_STREQ("e.txt", data.cFileName);
    EXPECT_EQ(std::string("sub2\\deeper\\e.txt").size(), data.nFileSizeLow);
    data = e->GetParent()->GetFileInfo();
    EXPECT_STREQ("deeper", data.cFileName);
    EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);

    DeleteFileA((root() + "sub2\\deeper\\e.txt").c_str());
    data = e->GetFileInfo();
    EXPECT_EQ(0u, data.dwFileAttributes);
    EXPECT_STREQ("", data.cFileName);
}

TEST_F(TreeTest, UnlistableDirectoryIsLeftEmpty)
{
    tree.EnumFileAndDirectory(0);
    TFileServer missing(TFileName((root() + "does-not-exist").c_str()));
    missing.EnumFileAndDirectory(0);
    EXPECT_EQ(List{}, Listing(missing));

    TFindDIRECTORY* sub1 = tree.FindDirectory(TFileName((root() + "sub1").c_str()));
    ASSERT_NE(nullptr, sub1);
    ASSERT_TRUE(MoveFileA((root() + "sub1").c_str(), (root() + "elsewhere").c_str()));
    sub1->EnumFileAndDirectory(1); // the old contents go
    EXPECT_EQ(List{}, Listing(*sub1));
}

TEST(TFileServer, CurrentDirectoryThroughTheRoot)
{
    TempFolder folder;
    TFileServer server;
    const TFileName before = server.GetCurrentDirectoryA();
    EXPECT_EQ(Str(before), Str(server.SetCurrentDirectoryA(TFileName(folder.Path().c_str()))));
    EXPECT_EQ(folder.Path(), Str(server.GetCurrentDirectoryA()) + "\\");
    server.SetCurrentDirectoryA(before);
}

} // namespace

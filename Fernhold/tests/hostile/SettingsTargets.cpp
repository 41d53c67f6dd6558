// The options file, both user-information copies and connection-list files: what a
// hostile file loads as, and that the files a loader leaves behind are good ones.
#include "HostileFiles.h"

#include "app/OptionsFile.h"
#include "app/TMainApp.h"
#include "app/TUserInfo.h"
#include "net/ConnectionListFile.h"
#include "net/TClientCore.h"
#include "ui/ConnectionState.h"

#include <windows.h>

#include <cstring>

namespace {

// ---- options file ----

constexpr uint32_t APP_FIELDS_END_V50 = 58;
constexpr uint32_t APP_FIELDS_END = 62;

void Sentinel(TFernSettings& s)
{
    s.displayFlags = 0x1A2;
    s.viewTimerInterval = 77;
    s.simultaneousSearches = 3;
    s.gridColumns = 5;
    s.gridRows = 6;
    s.port = 1234;
    s.serverFlags = 9;
    s.mainX = -7;
    s.mainY = 8;
    s.viewWindowRect = RECT{1, 2, 3, 4};
    s.searchFlags = 0;
    s.defaultListFile = TString("sentinel.clf");
}

uint32_t Word(const Bytes& b, uint32_t at)
{
    uint32_t v;
    memcpy(&v, b.data() + at, 4);
    return v;
}

std::string SameSettings(const TFernSettings& a, const TFernSettings& b)
{
    const bool same =
        a.displayFlags == b.displayFlags && a.viewTimerInterval == b.viewTimerInterval &&
        a.simultaneousSearches == b.simultaneousSearches && a.gridColumns == b.gridColumns &&
        a.gridRows == b.gridRows && a.port == b.port && a.serverFlags == b.serverFlags &&
        a.mainX == b.mainX && a.mainY == b.mainY &&
        memcmp(&a.viewWindowRect, &b.viewWindowRect, sizeof(RECT)) == 0 &&
        a.searchFlags == b.searchFlags;
    if (!same) return "application fields differ";
    const char* x = a.defaultListFile;
    const char* y = b.defaultListFile;
    if (strcmp(x ? x : "", y ? y : "") != 0) return "list-file names differ";
    return {};
}

// What the file must load as: the sentinel where a section is damaged, its fields where not;
// the connection state always idle.
void ExpectedOptions(const Bytes& f, TFernSettings& e)
{
    Sentinel(e);
    if (f.size() < 8 || memcmp(f.data(), "FNAP", 4) != 0 || Word(f, 4) < 50) return;
    const uint32_t version = Word(f, 4);
    const uint32_t end = version == 50 ? APP_FIELDS_END_V50 : APP_FIELDS_END;
    if (f.size() < end) return;
    e.displayFlags = WithConnectionState(Word(f, 8), CONNECTION_IDLE);
    e.viewTimerInterval = Word(f, 12);
    e.simultaneousSearches = Word(f, 16);
    e.gridColumns = Word(f, 20);
    e.gridRows = Word(f, 24);
    e.port = static_cast<uint16_t>(f[28] | f[29] << 8);
    e.serverFlags = Word(f, 30);
    e.mainX = static_cast<int32_t>(Word(f, 34));
    e.mainY = static_cast<int32_t>(Word(f, 38));
    RECT view;
    memcpy(&view, f.data() + 42, sizeof(view));
    e.viewWindowRect = view;
    e.searchFlags = version == 50 ? 1 : Word(f, 58);
    if (f.size() < end + 12 || memcmp(f.data() + end, "FNST", 4) != 0 || Word(f, end + 4) != 1)
        return;
    const uint32_t n = Word(f, end + 8);
    if (n == 0 || n > f.size() - end - 12) return;
    const char* text = reinterpret_cast<const char*>(f.data() + end + 12);
    e.defaultListFile = TString(std::string(text, strnlen(text, n - 1)).c_str());
}

std::string RunOptions(const Bytes& input)
{
    const std::string path = HostilePath("FernOption.dat");
    if (!WriteBytes(path, input)) return "could not write the input";
    TFernSettings loaded, expected;
    Sentinel(loaded);
    ReadOptionsFile(path.c_str(), loaded);
    if (ReadBytes(path) != input) return "reading changed the file";
    ExpectedOptions(input, expected);
    std::string fault = SameSettings(loaded, expected);
    if (!fault.empty()) return "loaded other settings than the file holds: " + fault;
    // Whatever a hostile file loaded as is saved as a good file that loads the same.
    const std::string saved = HostilePath("FernOption.saved");
    if (!WriteOptionsFile(saved.c_str(), loaded)) return "the loaded settings could not be saved";
    TFernSettings again;
    ReadOptionsFile(saved.c_str(), again);
    fault = SameSettings(again, loaded);
    return fault.empty() ? fault : "saved settings read back otherwise: " + fault;
}

std::vector<Fixture> OptionsFixtures()
{
    std::vector<Fixture> fixtures;
    for (const char* name : {"default.clf", "", "a much longer list file name.clf"}) {
        TFernSettings s;
        s.port = htons(5483);
        s.displayFlags = 0x413;
        s.defaultListFile = TString(name);
        const std::string path = HostilePath("FernOption.fixture");
        WriteOptionsFile(path.c_str(), s);
        fixtures.push_back({ReadBytes(path), {{4, 4}, {66, 4}, {70, 4}}});
    }
    return fixtures;
}

// ---- user information ----

// Builds a record file from arbitrary records, as a damaged writer would.
class TRawRecordFile : public TRecordFile {
public:
    std::vector<Bytes> records;

protected:
    void Pack() override
    {
        FreeRecords();
        for (const Bytes& r : records)
            AppendRecord(r.data(), static_cast<unsigned long>(r.size()));
    }
};

void Fill(TUserInfo& info, const char* name, uint32_t rights)
{
    info.m_Name = TString(name);
    info.m_Password = TString("secret");
    info.m_Rights = rights;
}

std::string Describe(const TUserInfo& info)
{
    const char* name = info.m_Name;
    return std::string(name ? name : "") + "/" + std::to_string(info.m_Rights);
}

// The user-information file as a program folder and a system folder of its own.
struct UserFolders {
    std::string program = HostilePath("program");
    std::string system = HostilePath("system");
    std::string local = program + "\\UserInfo\\UserInfo1.fnu";
    std::string systemCopy = system + "\\frnsystem.dll";

    UserFolders()
    {
        CreateDirectoryA(program.c_str(), nullptr);
        CreateDirectoryA((program + "\\UserInfo").c_str(), nullptr);
        CreateDirectoryA(system.c_str(), nullptr);
        DeleteFileA(local.c_str());
        DeleteFileA(systemCopy.c_str());
    }
};

// Runs the start-up reconciliation with the program folder current, as the program does.
int Reconcile(const UserFolders& folders, TUserInfo& result)
{
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(previous), previous);
    SetSystemDirectoryOverride(folders.system.c_str());
    int answer;
    {
        TMainApp app;
        SetCurrentDirectoryA(folders.program.c_str());
        answer = app.LoadUserInfo();
        result.CopyFrom(app.GetUserInfo());
    }
    SetSystemDirectoryOverride(nullptr);
    SetCurrentDirectoryA(previous);
    return answer;
}

// 1 when the file loads; its contents in into.
int LoadCopy(const std::string& path, TUserInfo& into)
{
    int loaded = into.Load(TFileName(path.c_str()));
    into.CloseRecordFile();
    return loaded;
}

// A damaged local copy beside a good system copy: the local copy is rebuilt from the system
// copy, which stays as it was.
std::string RunLocalCopy(const Bytes& input)
{
    UserFolders folders;
    TUserInfo good;
    Fill(good, "admin", 0x15);
    if (!good.Save(TFileName(folders.systemCopy.c_str()))) return "could not write the system copy";
    good.CloseRecordFile();
    if (!WriteBytes(folders.local, input)) return "could not write the input";

    TUserInfo used;
    if (!Reconcile(folders, used)) return "start-up stopped with a good system copy";
    if (!used.SameAs(good)) return "start-up uses " + Describe(used) + ", not the system copy";
    TUserInfo system;
    if (!LoadCopy(folders.systemCopy, system) || !system.SameAs(good))
        return "the system copy was replaced by another";
    TUserInfo local;
    if (!LoadCopy(folders.local, local)) return "the local copy left behind does not load";
    if (!local.SameAs(good)) return "the local copy left behind holds " + Describe(local);
    return {};
}

// A damaged system copy and no local copy: nothing good is replaced, and the rights are not
// in use unless the system copy loads.
std::string RunSystemCopy(const Bytes& input)
{
    UserFolders folders;
    if (!WriteBytes(folders.systemCopy, input)) return "could not write the input";
    TUserInfo system;
    const int systemGood = LoadCopy(folders.systemCopy, system);

    TUserInfo used;
    if (!Reconcile(folders, used)) return "start-up stopped without a local copy";
    bool localExists = false;
    ReadBytes(folders.local, &localExists);
    if (!systemGood) {
        if (ReadBytes(folders.systemCopy) != input) return "a damaged system copy was changed";
        if (localExists) return "a local copy was made from a damaged system copy";
        if (used.m_Rights != RIGHTS_NOT_IN_USE) return "rights in use from a damaged copy";
        return {};
    }
    if (!used.SameAs(system)) return "start-up uses " + Describe(used) + ", not the system copy";
    // Both copies are written again on a rebuild: the system copy must still hold the same.
    TUserInfo rewritten;
    if (!LoadCopy(folders.systemCopy, rewritten) || !rewritten.SameAs(system))
        return "the system copy was replaced by another";
    TUserInfo local;
    if (!LoadCopy(folders.local, local) || !local.SameAs(system))
        return "the local copy made from the system copy is not the same";
    return {};
}

std::vector<Fixture> UserInfoFixtures()
{
    std::vector<Fixture> fixtures;
    const char* names[] = {"admin", "", "a name of a fair length for an administrator"};
    for (const char* name : names) {
        TUserInfo info;
        Fill(info, name, name[0] ? 0x3 : RIGHTS_NOT_IN_USE);
        const std::string path = HostilePath("user.fixture");
        info.Save(TFileName(path.c_str()));
        info.CloseRecordFile();
        // Every plain byte is spread over eight: the counts are the plain bytes 4 to 19.
        std::vector<LengthField> fields;
        for (uint32_t at = 32; at < 160; at += 8)
            fields.push_back({at, 1});
        fixtures.push_back({ReadBytes(path), fields});
    }
    return fixtures;
}

// Well-checked files of arbitrary records: the input is a list of (u16 length, bytes)
// entries, so the mutations reach the records behind the check.
std::vector<Bytes> RecordsOf(const Bytes& input)
{
    std::vector<Bytes> records;
    for (size_t at = 0; at + 2 <= input.size() && records.size() < 64;) {
        size_t length = input[at] | input[at + 1] << 8;
        at += 2;
        length = std::min(length, input.size() - at);
        records.emplace_back(input.begin() + at, input.begin() + at + length);
        at += length;
    }
    return records;
}

std::string RunUserRecords(const Bytes& input)
{
    const std::string path = HostilePath("records.fnu");
    TRawRecordFile raw;
    raw.records = RecordsOf(input);
    if (!raw.Save(TFileName(path.c_str()))) return "could not write the records";
    raw.CloseRecordFile();

    TUserInfo info;
    Fill(info, "before", 0x77);
    const int loaded = info.Load(TFileName(path.c_str()));
    info.CloseRecordFile();
    const auto& r = raw.records;
    const int expected = r.size() >= 4 && r[3].size() >= 4;
    if (loaded != expected) return "loaded " + std::to_string(loaded) + " records it should not";
    if (!loaded) {
        TUserInfo before;
        Fill(before, "before", 0x77);
        return info.SameAs(before) ? "" : "a refused file changed the fields";
    }
    const std::string name(reinterpret_cast<const char*>(r[0].data()),
                           strnlen(reinterpret_cast<const char*>(r[0].data()), r[0].size()));
    uint32_t rights;
    memcpy(&rights, r[3].data(), 4);
    if (!SameText(info.m_Name, name.c_str()) || info.m_Rights != rights)
        return "loaded " + Describe(info) + ", not what the records hold";
    TUserInfo again;
    const std::string resaved = HostilePath("records.again");
    if (!info.Save(TFileName(resaved.c_str()))) return "the loaded fields could not be saved";
    info.CloseRecordFile();
    if (!LoadCopy(resaved, again) || !again.SameAs(info)) return "saved fields read back otherwise";
    return {};
}

std::vector<Fixture> RecordFixtures()
{
    Bytes plain;
    auto add = [&plain](const Bytes& record) {
        plain.push_back(static_cast<uint8_t>(record.size()));
        plain.push_back(static_cast<uint8_t>(record.size() >> 8));
        plain.insert(plain.end(), record.begin(), record.end());
    };
    add({'a', 'd', 'm', 'i', 'n', 0});
    add({'p', 'w', 0});
    add({0});
    add({0x15, 0, 0, 0});
    return {{plain, {{0, 2}, {8, 2}, {13, 2}, {16, 2}}}};
}

// ---- connection-list files ----

std::vector<Fixture> ListFixtures()
{
    TDestination records[3];
    records[0].computerName = TString("PC-01");
    records[1].computerName = TString("");
    records[2].computerName = TString("a-longer-computer-name");
    const unsigned char mac[6] = {1, 2, 3, 4, 5, 6};
    records[0].AddMac(mac);
    records[2].AddMac(mac);
    records[2].AddMac(mac);
    TDestination* list[3] = {&records[0], &records[1], &records[2]};
    TMemoryBase image;
    WriteListImage(list, 3, image);
    const unsigned char* data = image;
    Bytes bytes(data, data + image.GetSize());
    // Header count, then each record's version, length field, name length and MAC count.
    std::vector<LengthField> fields = {{4, 4}, {8, 4}};
    for (uint32_t at = 12; at + 16 <= bytes.size();) {
        const uint32_t nameBytes = Word(bytes, at + 12);
        const uint32_t macsAt = at + 16 + nameBytes + 16;
        fields.insert(fields.end(), {{at + 4, 4}, {at + 8, 4}, {at + 12, 4}, {macsAt, 4}});
        at = macsAt + 4 + 6 * Word(bytes, macsAt);
    }
    return {{bytes, fields}};
}

void FreeRecords(TMemoryBase& records)
{
    TDestination** list = reinterpret_cast<TDestination**>(static_cast<unsigned char*>(records));
    for (unsigned long i = 0; i < records.GetSize() / sizeof(TDestination*); ++i)
        delete list[i];
    records.Free();
}

Bytes ImageOf(TMemoryBase& records)
{
    TMemoryBase image;
    WriteListImage(reinterpret_cast<TDestination**>(static_cast<unsigned char*>(records)),
                   records.GetSize() / sizeof(TDestination*), image);
    const unsigned char* data = image;
    return Bytes(data, data + image.GetSize());
}

std::string RunList(const Bytes& input)
{
    const std::string path = HostilePath("hostile.clf");
    if (!WriteBytes(path, input)) return "could not write the input";
    TMemoryBase image, records, again;
    if (!LoadFileImage(path.c_str(), image)) return "the file did not load";
    if (ReadBytes(path) != input) return "loading changed the file";
    ReadListImage(image, image.GetSize(), records);
    std::string fault;
    const unsigned long count = records.GetSize() / sizeof(TDestination*);
    if (count > MAX_DESTINATIONS) fault = "more records than a list holds";
    // Whatever the damaged file loaded as is saved as a good file that loads the same.
    const Bytes saved = ImageOf(records);
    if (fault.empty() &&
        !ReadListImage(saved.data(), static_cast<unsigned long>(saved.size()), again))
        fault = "the saved list does not load";
    if (fault.empty() && (again.GetSize() != records.GetSize() || ImageOf(again) != saved))
        fault = "the saved list loads otherwise";
    FreeRecords(records);
    FreeRecords(again);
    return fault;
}

// The default list at start and exit: loaded, kept aside when it did not load whole, and
// the list written back. Nothing the file held may be lost: either the written list holds
// every record the file announces, or a copy of the file stands beside it.
std::string RunDefaultList(const Bytes& input)
{
    const std::string path = HostilePath("default.clf");
    const std::string kept = path + ".bad";
    DeleteFileA(kept.c_str());
    if (!WriteBytes(path, input)) return "could not write the input";
    TFernSettings settings;
    TClientCore core(settings);
    int whole = 0;
    if (!core.LoadListFile(path.c_str(), &whole) || !whole) KeepDamagedListFile(path.c_str());
    if (!core.SaveListFile(path.c_str())) return "the list could not be written at exit";

    TMemoryBase written;
    int writtenWhole = 0;
    const Bytes saved = ReadBytes(path);
    if (!ReadListImage(saved.data(), static_cast<unsigned long>(saved.size()), written,
                       &writtenWhole) ||
        !writtenWhole) {
        FreeRecords(written);
        return "the list written at exit does not load whole";
    }
    const unsigned long count = written.GetSize() / sizeof(TDestination*);
    FreeRecords(written);
    const bool readable =
        input.size() >= 12 && memcmp(input.data(), "FNCL", 4) == 0 && Word(input, 4) == 1;
    const bool allKept = readable && Word(input, 8) == count;
    if (!allKept && !input.empty() && ReadBytes(kept) != input)
        return "records were lost at exit without a copy of the file";
    return {};
}

const std::vector<HostileTarget> kSettingsTargets = {
    {"options-file", OptionsFixtures, nullptr, RunOptions, 16},
    {"user-info-local", UserInfoFixtures, nullptr, RunLocalCopy, 16},
    {"user-info-system", UserInfoFixtures, nullptr, RunSystemCopy, 16},
    {"user-info-records", RecordFixtures, nullptr, RunUserRecords, 16},
    {"connection-list", ListFixtures, nullptr, RunList, 16},
    {"default-list", ListFixtures, nullptr, RunDefaultList, 16},
};

} // namespace

const std::vector<HostileTarget>& SettingsTargets() { return kSettingsTargets; }

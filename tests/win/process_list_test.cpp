#include "processes/process_list_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "memory_helper.h"
#include "platform/native_path_win.h"
#include "platform/unique_handle_win.h"
#include "platform/version_info_win.h"
#include "processes/process_snapshot_win.h"

using namespace WinTest;

namespace {
constexpr uint64_t kMB = 1048576;

const ProcessRecord* Find(const ProcessList& list, DWORD id) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Item(i).ProcessID == id)
            return &list.Item(i);
    return nullptr;
}

// The rights that OpenWithin grants; any request beyond them is refused as a protected process refuses it.
DWORD gGrantedRights = 0;
HANDLE OpenWithin(DWORD rights, DWORD processId) {
    if (rights & ~gGrantedRights) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return OpenProcess(rights, FALSE, processId);
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

TEST(ProcessList, HelpersSortByWorkingSetWithPathsOwnersAndTimes) {
    MemoryHelper small(24), large(96);
    ASSERT_TRUE(small.Ready() && large.Ready());
    ProcessList list;
    list.Refresh();
    list.Sort(CompareByMemoryDesc);
    const ProcessRecord* s = Find(list, small.Id());
    const ProcessRecord* l = Find(list, large.Id());
    ASSERT_TRUE(s && l);
    EXPECT_EQ(s->ExeName, "lumivex_test_helper_full.exe");
    EXPECT_EQ(Lower(s->FullPath), Lower(Narrow(small.Path())));
    EXPECT_GE(l->MemoryUsage, 96 * kMB);
    EXPECT_LT(l->MemoryUsage, 200 * kMB);
    EXPECT_GE(s->MemoryUsage, 24 * kMB);
    EXPECT_LT(s->MemoryUsage, l->MemoryUsage);
    EXPECT_GT(s->CreationTime, 40000.0);  // a date after 2009
    EXPECT_NE(s->CreationFileTime, 0u);
    EXPECT_FALSE(s->UserName.empty());
    EXPECT_EQ(s->ParentProcessID, GetCurrentProcessId());
    for (int i = 1; i < list.Count(); ++i)
        EXPECT_GE(list.Item(i - 1).MemoryUsage, list.Item(i).MemoryUsage);
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_NE(list.Item(i).ProcessID, 0u);

    // The per-process queries agree with the record.
    EXPECT_EQ(Lower(ProcessList::GetImagePath(small.Id())), Lower(s->FullPath));
    EXPECT_EQ(ProcessList::GetMemoryUsage(large.Id(), 2), ProcessList::GetMemoryUsage(large.Id(), 0) >> 20);
    EXPECT_EQ(ProcessList::GetMemoryUsage(large.Id(), 4), 0u);
    EXPECT_DOUBLE_EQ(ProcessList::GetCreationTime(small.Id()), s->CreationTime);
    std::string user, domain;
    EXPECT_TRUE(ProcessList::GetOwner(small.Id(), user, domain));
    EXPECT_EQ(user, s->UserName);
    EXPECT_EQ(domain, s->Domain);
}

// The system-wide snapshot gives the figures that opening each process gives.
TEST(ProcessList, SystemSnapshotAgreesWithEachProcessQuery) {
    MemoryHelper helper(64);
    ASSERT_TRUE(helper.Ready());
    std::vector<ProcessRecord> all;
    ASSERT_TRUE(ReadSystemProcesses(all));
    ProcessList list;
    list.Refresh();
    EXPECT_NEAR(static_cast<double>(all.size()), list.Count(), 2.0);
    ProcessRecord snapshot;
    for (const ProcessRecord& r : all) {
        EXPECT_NE(r.ProcessID, 0u);
        if (r.ProcessID == helper.Id())
            snapshot = r;
    }
    const ProcessRecord* read = Find(list, helper.Id());
    ASSERT_TRUE(read);
    EXPECT_EQ(snapshot.ExeName, read->ExeName);
    EXPECT_EQ(snapshot.ParentProcessID, GetCurrentProcessId());
    EXPECT_EQ(snapshot.Threads, read->Threads);
    EXPECT_EQ(snapshot.CreationFileTime, read->CreationFileTime);
    EXPECT_DOUBLE_EQ(snapshot.CreationTime, read->CreationTime);
    EXPECT_NEAR(static_cast<double>(snapshot.MemoryUsage), static_cast<double>(read->MemoryUsage), 1.0 * kMB);
    EXPECT_FALSE(MaybeClampedWorkingSet(snapshot.MemoryUsage));
}

// The heaviest rows come out as a full refresh and sort give them, however many are asked for.
TEST(ProcessList, HeaviestRowsAreThoseOfAFullRefresh) {
    MemoryHelper a(96, "full"), b(128, "plain"), c(160, "full");
    ASSERT_TRUE(a.Ready() && b.Ready() && c.Ready());
    ProcessList full;
    full.Refresh();
    full.Sort(CompareByMemoryDesc);
    ASSERT_EQ(full.Item(0).ProcessID, c.Id());
    ASSERT_EQ(full.Item(2).ProcessID, a.Id());
    for (int rows : {0, 1, 3, 5, full.Count() + 5}) {
        ProcessList heaviest;
        heaviest.RefreshHeaviest(rows);
        EXPECT_NEAR(heaviest.Count(), full.Count(), 2.0) << rows;
        const int compared = std::min({rows, 3, heaviest.Count()});
        for (int i = 0; i < compared; ++i) {
            const ProcessRecord& want = full.Item(i);
            const ProcessRecord& got = heaviest.Item(i);
            EXPECT_EQ(got.ProcessID, want.ProcessID) << rows << " " << i;
            EXPECT_EQ(got.ExeName, want.ExeName);
            EXPECT_EQ(got.FullPath, want.FullPath);
            EXPECT_EQ(got.UserName, want.UserName);
            EXPECT_EQ(got.Domain, want.Domain);
            EXPECT_EQ(got.CreationFileTime, want.CreationFileTime);
            EXPECT_DOUBLE_EQ(got.CreationTime, want.CreationTime);
            EXPECT_EQ(got.ParentProcessID, want.ParentProcessID);
            EXPECT_NEAR(static_cast<double>(got.MemoryUsage), static_cast<double>(want.MemoryUsage), 1.0 * kMB);
        }
        // The rows that were read are in the order of their figures; with every row read, the whole list is.
        const int read = std::min(rows, heaviest.Count());
        for (int i = 1; i < read; ++i)
            EXPECT_GE(heaviest.Item(i - 1).MemoryUsage, heaviest.Item(i).MemoryUsage) << rows << " " << i;
        if (rows > heaviest.Count()) {
            for (int i = 0; i < heaviest.Count(); ++i)
                EXPECT_NE(Find(full, heaviest.Item(i).ProcessID), nullptr) << heaviest.Item(i).ExeName;
        }
    }
}

// The creation time is what tells a row's process from a later one with its id: a process that grants only the
// lesser query rights still gives it, and one that grants none keeps the snapshot's.
TEST(ProcessList, EveryRowKeepsTheCreationTimeWhateverRightsItsProcessGrants) {
    MemoryHelper helper(1);
    ASSERT_TRUE(helper.Ready());
    ProcessRecord all;
    all.ProcessID = helper.Id();
    ProcessList::ReadProcess(all, nullptr);
    ASSERT_NE(all.CreationFileTime, 0u);
    const struct {
        const char* Route;
        DWORD Granted;
        bool PathRead;
    } routes[] = {
        {"query information", PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION, true},
        {"limited query", PROCESS_QUERY_LIMITED_INFORMATION, true},
        {"none", 0, false},
    };
    for (const auto& route : routes) {
        gGrantedRights = route.Granted;
        ProcessRecord r;
        r.ProcessID = helper.Id();
        ProcessList::ReadProcess(r, nullptr, OpenWithin);
        EXPECT_EQ(Lower(r.FullPath), route.PathRead ? Lower(all.FullPath) : "") << route.Route;
        EXPECT_EQ(r.CreationFileTime, route.PathRead ? all.CreationFileTime : 0u) << route.Route;

        ProcessList heaviest;
        heaviest.RefreshHeaviest(100000, OpenWithin);  // every row read through the route
        const ProcessRecord* row = Find(heaviest, helper.Id());
        ASSERT_TRUE(row) << route.Route;
        EXPECT_EQ(Lower(row->FullPath), Lower(r.FullPath)) << route.Route;
        EXPECT_EQ(row->CreationFileTime, all.CreationFileTime) << route.Route;
        EXPECT_DOUBLE_EQ(row->CreationTime, all.CreationTime) << route.Route;
    }
    gGrantedRights = 0;
}

TEST(ProcessList, ProcessThatCannotBeOpenedGivesZeroAndEmptyTexts) {
    ProcessRecord r;
    r.ProcessID = 0xFFFFFFF0;  // no process has this id
    ProcessList::ReadProcess(r, nullptr);
    EXPECT_EQ(r.MemoryUsage, 0u);
    EXPECT_EQ(r.FullPath, "");
    EXPECT_EQ(r.CreationTime, 0.0);
    EXPECT_EQ(r.UserName, "");
    EXPECT_EQ(ProcessList::GetMemoryUsage(0xFFFFFFF0, 0), 0u);
    EXPECT_EQ(ProcessList::GetCreationTime(0xFFFFFFF0), 0.0);
}

TEST(ProcessList, IndexOutsideTheListIsRefused) {
    ProcessList list;
    list.Refresh();
    ASSERT_GT(list.Count(), 1);
    ProcessRecord r;
    for (int bad : {-1, list.Count()}) {
        try {
            list.GetItem(bad, r);
            ADD_FAILURE() << bad;
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "Index out of bounds");
        }
    }
    int before = list.Count();
    DWORD second = list.Item(1).ProcessID;
    list.Delete(0);
    EXPECT_EQ(list.Count(), before - 1);
    EXPECT_EQ(list.Item(0).ProcessID, second);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ProcessList, OlderImagePathRoutesGiveTheSamePath) {
    MemoryHelper helper(1);
    ASSERT_TRUE(helper.Ready());
    using ProcessQuery::ImageRoute;
    for (ImageRoute route : {ImageRoute::Vista, ImageRoute::DevicePath, ImageRoute::ModuleFileName}) {
        UniqueKernelHandle process(OpenProcess(ProcessQuery::ImagePathRights(route), FALSE, helper.Id()));
        ASSERT_TRUE(process);
        EXPECT_EQ(Lower(ProcessQuery::ImagePath(process.Get(), route)), Lower(Narrow(helper.Path())))
            << static_cast<int>(route);
    }
}

TEST(VersionInfoReader, ReadsStringsTranslationsAndFixedVersions) {
    VersionInfoReader reader;
    reader.SetFilename(Narrow(TestFolder() + L"lumivex_test_helper_full.exe"));
    EXPECT_EQ(reader.GetByIndex(1), "Memory helper");
    EXPECT_EQ(reader.GetByIndex(0), "Lumivex Tests");
    EXPECT_EQ(reader.GetByIndex(10), "helper");
    EXPECT_EQ(reader.GetByIndex(11), "");
    EXPECT_EQ(reader.GetByIndex(-1), "");
    EXPECT_EQ(reader.GetValue("Missing"), "");
    EXPECT_THAT(reader.Translations(), ::testing::ElementsAre("040904b0"));
    EXPECT_EQ(reader.FileVersion().Text(), "1.2.3.4");
    EXPECT_EQ(reader.ProductVersion().Text(), "3.3.3.0");
    EXPECT_EQ(reader.ProductVersion().VersionString, "3.3.3.0");

    reader.SetFilename(Narrow(TestFolder() + L"lumivex_test_helper_no_translation.exe"));
    EXPECT_TRUE(reader.Translations().empty());
    EXPECT_EQ(reader.GetByIndex(1), "Helper without translation table");

    reader.SetFilename(Narrow(TestFolder() + L"lumivex_test_helper_plain.exe"));
    EXPECT_FALSE(reader.HasVersionInfo());
    EXPECT_EQ(reader.GetByIndex(1), "");
    EXPECT_EQ(reader.FileVersion().Text(), "");
    EXPECT_EQ(reader.FixedInfo(), nullptr);

    reader.SetFilename(Narrow(TestFolder() + L"does-not-exist.exe"));
    EXPECT_FALSE(reader.HasVersionInfo());

    // An empty name reads the program's own file, never the previous one.
    VersionInfoReader own;
    own.SetFilename(Narrow(TestFolder() + L"lumivex_test_helper_full.exe"));
    own.SetFilename("");
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    reader.SetFilename(Narrow(self));
    EXPECT_EQ(own.HasVersionInfo(), reader.HasVersionInfo());
    EXPECT_EQ(own.GetByIndex(1), reader.GetByIndex(1));
}

TEST(VersionInfoReader, System32PathsAreReadFromTheRealFolder) {
    // A file that exists in the real System32 only: the 32-bit build would otherwise look for it in SysWOW64.
    wchar_t windows[MAX_PATH];
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    std::string system32Path = Narrow(windows) + "\\System32\\lumivex-version-probe.exe";
    std::wstring realPath = Widen(NativeFilePath(system32Path));
    ASSERT_TRUE(CopyFileW((TestFolder() + L"lumivex_test_helper_full.exe").c_str(), realPath.c_str(), FALSE));
    VersionInfoReader reader;
    reader.SetFilename(system32Path);
    std::string description = reader.GetByIndex(1);
    DeleteFileW(realPath.c_str());
    EXPECT_EQ(description, "Memory helper");
    EXPECT_EQ(RunningUnderWow64(), sizeof(void*) == 4);
}

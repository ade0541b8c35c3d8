// The registry backend against the registry itself: what Windows' own tools make of our
// snapshot files, and names that the ANSI functions hand out longer than the registry counts
// them.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "CRegKeyWalker.h"
#include "SettingsSnapshot.h"
#include "StoreSupport.h"

namespace velmora::reg {
namespace {

using test::kPluginKey;
using test::PluginSettings;
using test::ReadBytes;
using test::RecordingWalker;
using test::TempStore;
using test::WriteBytes;

struct Finished {
    DWORD exitCode = 1;
    std::string output;  // standard output and standard error together
};

// Runs a program to its end with its output captured; nothing reaches the test's own console.
Finished RunToEnd(std::string commandLine) {
    Finished finished;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        finished.output = "no pipe";
        return finished;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inheritable, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);  // so that the read ends when the program does
    CloseHandle(input);
    if (!started) {
        CloseHandle(readEnd);
        finished.output = "could not start: " + commandLine;
        return finished;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        finished.output.append(buffer, read);
    }
    CloseHandle(readEnd);
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    GetExitCodeProcess(process.hProcess, &finished.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return finished;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

TEST(Win32Registry, RegImportReadsOurSnapshotIntoTheSameValues) {
    TempStore from;
    CRegKeyWalker writer(*from, kHkeyCurrentUser);
    const std::string video = kPluginKey + "\\Video";
    ASSERT_TRUE(writer.WriteString(kPluginKey, "", "the default value"));
    ASSERT_TRUE(writer.WriteDword(video, "Width", 640));
    ASSERT_TRUE(writer.WriteString(video, "Folder", "C:\\Games\\ZiNc\\"));
    ASSERT_TRUE(writer.WriteString(video, "Quoted", "say \"hi\" \\\\ twice"));
    CRegValue expandable("%WINDIR%\\zinc");
    expandable.SetType(kRegExpandSz);
    ASSERT_TRUE(writer.WriteValue(video, "Expandable", expandable));
    std::vector<std::uint8_t> table(60);
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<std::uint8_t>(i * 7);
    }
    ASSERT_TRUE(writer.WriteBinary(video + "\\Extra", "Table", table.data(), table.size()));
    ASSERT_TRUE(writer.WriteBinary(video + "\\Extra", "Nothing", nullptr, 0));
    ASSERT_TRUE(writer.WriteDword(kPluginKey + "\\Sound", "Volume", 0xfffffffe));

    const std::string file = from.Dir().File("Velmora007_registry.cfg");
    ASSERT_TRUE(snapshot::SaveSettingsSnapshot(*from, file));

    // The same file, but naming the other test store's plugin settings key.
    TempStore to;
    std::string text = ReadBytes(file);
    ReplaceAll(text, "[HKEY_CURRENT_USER\\" + kPluginKey,
               "[HKEY_CURRENT_USER\\" + to.Key() + "\\" + kPluginKey);
    const std::string imported = from.Dir().File("import.reg");
    WriteBytes(imported, text);

    const Finished import = RunToEnd("reg.exe import \"" + imported + "\"");
    ASSERT_EQ(import.exitCode, 0u) << import.output;
    EXPECT_EQ(PluginSettings(*to), PluginSettings(*from));

    const Finished query =
        RunToEnd("reg.exe query \"HKCU\\" + to.Key() + "\\" + kPluginKey + "\" /s");
    ASSERT_EQ(query.exitCode, 0u) << query.output;
    std::string tableHex;  // reg shows binary data as one run of upper-case digits
    for (const std::uint8_t byte : table) {
        tableHex += "0123456789ABCDEF"[byte >> 4];
        tableHex += "0123456789ABCDEF"[byte & 15];
    }
    for (const std::string& shown :
         {std::string("REG_SZ    the default value"), std::string("Width    REG_DWORD    0x280"),
          std::string("Folder    REG_SZ    C:\\Games\\ZiNc\\\r\n"),
          std::string("Quoted    REG_SZ    say \"hi\" \\\\ twice"),
          std::string("Expandable    REG_SZ    %WINDIR%\\zinc"),
          "Table    REG_BINARY    " + tableHex + "\r\n",
          std::string("Volume    REG_DWORD    0xfffffffe")}) {
        EXPECT_NE(query.output.find(shown), std::string::npos) << shown << "\n" << query.output;
    }
}

std::wstring Wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// The text in the user's code page, or nothing when it cannot be written there exactly.
std::optional<std::string> InCodePage(const std::wstring& text) {
    const int length = static_cast<int>(text.size());
    BOOL defaulted = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr,
                                         0, nullptr, &defaulted);
    if (size <= 0 || defaulted) {
        return std::nullopt;
    }
    std::string converted(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, converted.data(), size,
                        nullptr, nullptr);
    return converted;
}

// Plugins built for Unicode write names that the ANSI functions hand out in the user's code
// page, up to two bytes a character in Japanese or Chinese Windows and three in UTF-8, while
// the registry measures them in UTF-16 characters: none may be passed over for that. The
// names are those the code page can hold; under a single-byte code page the walk's buffers
// are never tight, and this only checks the conversion.
TEST(Win32Registry, NamesLongerInTheUsersCodePageStillComeThrough) {
    std::vector<std::pair<std::wstring, std::string>> names;
    for (const wchar_t* candidate : {L"\u00e9t\u00e9", L"Gr\u00fc\u00dfe", L"\u30b2\u30fc\u30e0",
                                     L"\u4e00\u4e8c\u4e09", L"\u0416\u0443\u043a"}) {
        if (const std::optional<std::string> converted = InCodePage(candidate)) {
            names.emplace_back(candidate, *converted);
        }
    }
    ASSERT_GE(names.size(), 2u) << "code page " << GetACP();
    const std::wstring& text = names.back().first;
    const std::string data = names.back().second + '\0';
    const std::string dataHex = test::Hex(reinterpret_cast<const std::uint8_t*>(data.data()),
                                          static_cast<std::uint32_t>(data.size()));

    TempStore store;
    HKEY key = nullptr;
    const std::wstring path = Wide(store.Key()) + L"\\T";
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const auto setText = [&](HKEY where, const std::wstring& name) {
        return RegSetValueExW(where, name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
    std::vector<std::string> expected;
    for (const auto& [wide, converted] : names) {
        EXPECT_EQ(setText(key, wide), ERROR_SUCCESS);
        expected.push_back("V 0 T " + converted + " 1 " + dataHex);
    }
    HKEY sub = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key, names[0].first.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &sub, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(setText(sub, names[1].first), ERROR_SUCCESS);
    RegCloseKey(sub);
    RegCloseKey(key);
    expected.push_back("K 0 " + names[0].second);
    expected.push_back("V 1 T\\" + names[0].second + " " + names[1].second + " 1 " + dataHex);

    RecordingWalker walker(*store);
    EXPECT_TRUE(walker.Walk("T", kWalkValues | kWalkSubKeys));
    std::sort(expected.begin(), expected.end());
    std::sort(walker.calls.begin(), walker.calls.end());
    EXPECT_EQ(walker.calls, expected);
    EXPECT_EQ(store->OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace velmora::reg

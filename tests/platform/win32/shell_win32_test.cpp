#include "platform/win32/shell_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/standin/standin_log.h"
#include "buttons/function_types.h"
#include "buttons/launches.h"
#include "platform/win32/wide.h"
#include "temp_folder.h"

namespace nx7::win32 {
namespace {

using testing::StandInLog;
using testing::StandInProgram;
using testing::TempFolder;

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The stand-in as a program of its own in a folder whose name holds a space.
std::filesystem::path InstallStandIn(const TempFolder& folder, const std::filesystem::path& relative) {
  const std::filesystem::path target = (folder.Path() / relative).make_preferred();
  std::filesystem::create_directories(target.parent_path());
  std::filesystem::copy_file(StandInProgram(), target, std::filesystem::copy_options::overwrite_existing);
  return target;
}

TEST(Win32Shell, StartsAProgramWhosePathHoldsASpaceWithTheParametersGiven) {
  TempFolder folder;
  const std::filesystem::path program = InstallStandIn(folder, "My Programs/tool.exe");
  StandInLog log(folder.Path() / "runs.log");
  Win32Shell shell;

  EXPECT_TRUE(shell.Open(program.u16string(), u""));
  EXPECT_EQ(log.WaitForLines(1), std::vector<std::string>{"0"});
  EXPECT_TRUE(shell.Open(program.u16string(), u"-VORNA"));
  EXPECT_EQ(log.WaitForLines(2), (std::vector<std::string>{"0", "1 [-VORNA]"}));
}

TEST(Win32Shell, OpenMaximisedStartsTheTargetWithoutParameters) {
  TempFolder folder;
  const std::filesystem::path program = InstallStandIn(folder, "Web Site/browser.exe");
  StandInLog log(folder.Path() / "runs.log");
  Win32Shell shell;
  EXPECT_TRUE(shell.OpenMaximised(program.u16string()));
  EXPECT_EQ(log.WaitForLines(1), std::vector<std::string>{"0"});
  EXPECT_FALSE(shell.OpenMaximised((folder.Path() / "missing.exe").u16string()));
}

TEST(Win32Shell, AMissingProgramIsRefusedWithoutAnyRun) {
  TempFolder folder;
  StandInLog log(folder.Path() / "runs.log");
  Win32Shell shell;
  EXPECT_FALSE(shell.Open((folder.Path() / "missing.exe").u16string(), u""));
  EXPECT_TRUE(log.Lines().empty());
}

// A file type of this test run (an extension of its own, so no run meets another's registration
// or what the shell may have cached of it), opened by the stand-in with the file as its one
// argument, as a document's program is registered.
class TestFileType {
 public:
  explicit TestFileType(const std::filesystem::path& program)
      : extension_(L".nx7launch" + std::to_wstring(GetCurrentProcessId())), progId_(L"nx7test" + extension_) {
    const std::wstring command = L"\"" + program.wstring() + L"\" \"%1\"";
    ok_ = Set(extension_, progId_) && Set(progId_ + L"\\shell\\open\\command", command);
  }
  ~TestFileType() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, extension_.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, progId_.c_str());
  }
  bool ok() const { return ok_; }
  std::filesystem::path Extension() const { return extension_; }

 private:
  static bool Set(const std::wstring& key, const std::wstring& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
      return false;
    const LONG result = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
  }
  std::wstring extension_;
  std::wstring progId_;
  bool ok_ = false;
};

TEST(Win32Shell, AFileLaunchReachesTheFilesProgramAsOneArgumentQuotedOrNot) {
  TempFolder folder;
  const std::filesystem::path program = InstallStandIn(folder, "viewer/viewer.exe");
  TestFileType type(program);
  ASSERT_TRUE(type.ok());
  const std::filesystem::path spaced =
      folder.Write(std::filesystem::path("My Files/a b") += type.Extension(), "x").make_preferred();
  const std::filesystem::path plain = folder.Write(std::filesystem::path("Files/a") += type.Extension(), "x").make_preferred();
  StandInLog log(folder.Path() / "runs.log");
  Win32Shell shell;

  struct Case {
    std::filesystem::path file;
    std::u16string handedOver;
  } cases[] = {
      {spaced, u"\"" + spaced.u16string() + u"\""},
      {plain, plain.u16string()},
  };
  std::vector<std::string> expected;
  for (const Case& c : cases) {
    ButtonAssignment assignment{};
    assignment.type = kTypeSoftwareLaunch;
    assignment.launchKind = kLaunchFile;
    const std::u16string path = c.file.u16string();
    std::copy(path.begin(), path.end(), assignment.launchPath);
    const Launch launch = LaunchOf(assignment);
    EXPECT_EQ(launch.target, c.handedOver);
    ASSERT_EQ(launch.kind, Launch::Kind::Open);
    EXPECT_TRUE(shell.Open(launch.target, u""));  // what PerformLaunch does, with the result looked at
    expected.push_back("1 [" + Utf8(c.file) + "]");
    EXPECT_EQ(log.WaitForLines(expected.size()), expected);
  }
}

// The visible dialog box this thread shows (the file dialog or folder browser under test).
HWND ShownDialog() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM data) -> BOOL {
        wchar_t name[16] = {};
        ::GetClassNameW(w, name, 16);
        if (::IsWindowVisible(w) && std::wstring(name) == L"#32770") *reinterpret_cast<HWND*>(data) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs `open`, which shows a modal dialog, and `answer` on that dialog once it is shown. A dialog
// still shown two seconds after the answer (one that refused it, or a box it raised) is cancelled,
// so a wrong answer fails the test instead of hanging it.
void AnswerDialog(const std::function<void()>& open, std::function<void(HWND)> answer) {
  static std::function<void(HWND)>* pending = nullptr;
  static int ticksSinceAnswer = 0;
  pending = &answer;
  ticksSinceAnswer = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    const HWND dialog = ShownDialog();
    if (!dialog) return;
    if (!pending) {
      if (++ticksSinceAnswer > 40) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    auto* act = pending;
    pending = nullptr;
    (*act)(dialog);
  });
  open();
  ::KillTimer(nullptr, timer);
  pending = nullptr;
}

// Handles this thread's messages for `ms` milliseconds.
void PumpFor(int ms) {
  const ULONGLONG until = ::GetTickCount64() + ULONGLONG(ms);
  while (::GetTickCount64() < until) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(10);
  }
}

// The text of a tree view's selected item.
std::wstring SelectedTreeText(HWND tree) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = TreeView_GetSelection(tree);
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (!item.hItem || !TreeView_GetItem(tree, &item)) return {};
  return text;
}

// A top-level window to own the dialogs.
struct OwnerWindow {
  HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                nullptr, nullptr);
  ~OwnerWindow() { ::DestroyWindow(hwnd); }
};

TEST(Win32Shell, TheFileDialogStartsInTheInitialFolderWithTheInitialName) {
  TempFolder folder;
  const std::filesystem::path game = folder.Write("game.exe", "x").make_preferred();
  OwnerWindow owner;
  Win32Shell shell;
  FileDialogOptions options;
  options.filter = u"(*.exe)|*.exe||";
  options.defaultExtension = u".exe";
  options.initialFileName = u"*.exe";
  options.initialFolder = folder.Path().u16string();
  options.hideReadOnly = true;
  std::wstring nameShown;
  HWND ownerSeen = nullptr;
  std::optional<std::u16string> chosen;
  AnswerDialog([&] { chosen = shell.ChooseFile(FileDialogKind::Open, options, owner.hwnd); },
               [&](HWND dialog) {
                 ownerSeen = ::GetWindow(dialog, GW_OWNER);
                 // The name box: cmb13 in the Explorer-style dialog, edt1 in the old one.
                 wchar_t text[MAX_PATH] = {};
                 if (!::GetDlgItemTextW(dialog, 1148, text, MAX_PATH)) ::GetDlgItemTextW(dialog, 1152, text, MAX_PATH);
                 nameShown = text;
                 // A bare name is looked for in the folder the dialog shows.
                 if (!::SetDlgItemTextW(dialog, 1148, L"game")) ::SetDlgItemTextW(dialog, 1152, L"game");
                 ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
               });
  EXPECT_EQ(nameShown, L"*.exe");
  EXPECT_EQ(ownerSeen, owner.hwnd);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(std::filesystem::path(*chosen), game);
}

TEST(Win32Shell, TheFolderBrowserGivesTheChosenFolderOrNothingOnCancel) {
  TempFolder folder;
  OwnerWindow owner;
  Win32Shell shell;
  std::optional<std::u16string> chosen = u"unchanged";
  HWND ownerSeen = nullptr;
  AnswerDialog([&] { chosen = shell.ChooseFolder(owner.hwnd); },
               [&](HWND dialog) {
                 ownerSeen = ::GetWindow(dialog, GW_OWNER);
                 ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
               });
  EXPECT_EQ(ownerSeen, owner.hwnd);
  EXPECT_FALSE(chosen.has_value());

  const std::wstring target = folder.Path().wstring();
  std::wstring selectedShown;
  AnswerDialog([&] { chosen = shell.ChooseFolder(owner.hwnd); },
               [&](HWND dialog) {
                 // The browser may still be filling its tree when it shows: select until the tree's
                 // selection is the folder (at most about three seconds).
                 const HWND tree = ::FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr);
                 const std::wstring name = folder.Path().filename().wstring();
                 for (int tries = 0; tree && tries < 30 && SelectedTreeText(tree) != name; ++tries) {
                   ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(target.c_str()));
                   PumpFor(100);
                 }
                 selectedShown = tree ? SelectedTreeText(tree) : L"(no tree)";
                 ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
               });
  EXPECT_EQ(selectedShown, folder.Path().filename().wstring());
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(*chosen), folder.Path()))
      << Utf8(std::filesystem::path(*chosen)) << " chosen, " << Utf8(folder.Path()) << " selected";
}

}  // namespace
}  // namespace nx7::win32

// The firmware check as a table: from the mouse's version, the files on disk, what the server
// answers and what the user chooses, to what the user is asked and told, what is fetched, what is
// handed to the flashing tool and which files are left.
#include "support/firmware_check.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/virtual/virtual_downloader.h"
#include "platform/virtual/virtual_file_system.h"
#include "temp_folder.h"

namespace nx7 {
namespace {

const std::u16string kFolder = u"C:\\NX7";
const std::u16string kManifestFile = kFolder + u"\\FWUpdate\\new_version\\update.xml";
const std::u16string kImageFile = kFolder + u"\\FWUpdate\\new_version\\VornaGameDevice.bin";
const std::u16string kServer = u"http://127.0.0.1:8080/software/nx7/update.xml";
const std::u16string kImageHttps = u"https://fw.example/nx7/VornaGameDevice16.bin";
const std::u16string kImageHttp = u"http://fw.example/nx7/VornaGameDevice16.bin";

const std::string kImage = "NX7 firmware image 16";
const std::string kImageSha = "bcf115f79f45ec253f7cb42553f0b71abefd87e475b3897d560f826a55de28bf";
const std::string kOldImage = "NX7 firmware image 15 (old)";

std::string Manifest(const std::string& current, const std::u16string& newfile,
                     std::optional<std::string> sha256 = kImageSha) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<update>\n  <firmware>\n    <current>" + current +
                    "</current>\n    <newfile>" + Utf8FromUtf16(newfile) + "</newfile>\n";
  if (sha256) xml += "    <sha256>" + *sha256 + "</sha256>\n";
  return xml + "  </firmware>\n</update>\n";
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Everything the check does, in one order.
using Journal = std::vector<std::string>;

std::string Name(FirmwareMessage m) {
  switch (m) {
    case FirmwareMessage::UpdateQuestion: return "UpdateQuestion";
    case FirmwareMessage::LatestVersion: return "LatestVersion";
    case FirmwareMessage::ImageFetchFailed: return "ImageFetchFailed";
    case FirmwareMessage::CouldNotCheck: return "CouldNotCheck";
    case FirmwareMessage::ImageRefused: return "ImageRefused";
  }
  return "?";
}

class ScriptedUser final : public FirmwareCheckUser {
 public:
  ScriptedUser(Journal& journal, std::deque<bool> answers) : journal_(journal), answers_(std::move(answers)) {}
  bool Confirm(FirmwareMessage question) override {
    journal_.push_back("ask " + Name(question));
    if (answers_.empty()) {
      ADD_FAILURE() << "asked more often than the case answers";
      return false;
    }
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  void Tell(FirmwareMessage message) override { journal_.push_back("tell " + Name(message)); }
  void CloseProgram() override { journal_.push_back("close"); }
  size_t AnswersLeft() const { return answers_.size(); }

 private:
  Journal& journal_;
  std::deque<bool> answers_;
};

class JournalDownloader final : public Downloader {
 public:
  JournalDownloader(Journal& journal, Downloader& inner) : journal_(journal), inner_(inner) {}
  bool DownloadToFile(const std::u16string& address, const std::u16string& path) override {
    journal_.push_back("fetch " + Utf8FromUtf16(address) + " -> " + Utf8FromUtf16(path.substr(kFolder.size() + 1)));
    return inner_.DownloadToFile(address, path);
  }
  std::string LastErrorText() const override { return inner_.LastErrorText(); }

 private:
  Journal& journal_;
  Downloader& inner_;
};

class JournalShell final : public Shell {
 public:
  explicit JournalShell(Journal& journal) : journal_(journal) {}
  bool Open(const std::u16string& file, const std::u16string& parameters) override {
    journal_.push_back("open " + Utf8FromUtf16(file) + " " + Utf8FromUtf16(parameters));
    return true;
  }
  bool OpenMaximised(const std::u16string& target) override {
    journal_.push_back("open maximised " + Utf8FromUtf16(target));
    return true;
  }
  bool PlaySoundFile(const std::u16string&) override { return false; }
  std::optional<std::u16string> ChooseFile(FileDialogKind, const FileDialogOptions&, WindowHandle) override {
    journal_.push_back("file dialog");
    return std::nullopt;
  }
  std::optional<std::u16string> ChooseFolder(WindowHandle) override {
    journal_.push_back("folder browser");
    return std::nullopt;
  }

 private:
  Journal& journal_;
};

const std::string kFetchManifest =
    "fetch http://127.0.0.1:8080/software/nx7/update.xml -> FWUpdate\\new_version\\update.xml.download";
const std::string kFetchImageHttps =
    "fetch https://fw.example/nx7/VornaGameDevice16.bin -> FWUpdate\\new_version\\VornaGameDevice.bin.download";
const std::string kFetchImageHttp =
    "fetch http://fw.example/nx7/VornaGameDevice16.bin -> FWUpdate\\new_version\\VornaGameDevice.bin.download";
const std::string kLaunch = "open C:\\NX7\\FWUpdate\\ViradeRI.exe -VORNA";

struct Case {
  const char* name;
  std::u16string mouse;                     // FirmwareVersionText
  std::optional<std::string> localManifest;
  std::optional<std::string> localImage;
  std::map<std::u16string, std::string> served;
  std::deque<bool> answers;
  Journal expected;
  FirmwareCheckResult result;
  // Left on disk afterwards (nullopt: absent).
  std::optional<std::string> manifestAfter;
  std::optional<std::string> imageAfter;
};

std::vector<Case> Cases() {
  const std::string m16 = Manifest("16", kImageHttps);
  const std::string m15 = Manifest("15", kImageHttps);
  using R = FirmwareCheckResult;
  return {
      {"newer on the server: question, image fetched and checked, tool started, program closed", u"15", {}, {},
       {{kServer, m16}, {kImageHttps, kImage}}, {true},
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttps, kLaunch, "close"}, R::HandedOver, m16, kImage},
      {"same version on the server: latest", u"16", {}, {}, {{kServer, m16}}, {},
       {kFetchManifest, "tell LatestVersion"}, R::Latest, m16, {}},
      {"older version on the server: latest", u"17", {}, {}, {{kServer, m16}}, {},
       {kFetchManifest, "tell LatestVersion"}, R::Latest, m16, {}},
      {"local manifest as new as the mouse: the server is asked", u"16", m16, {}, {{kServer, m16}}, {},
       {kFetchManifest, "tell LatestVersion"}, R::Latest, m16, {}},
      {"server down: could not check, the local manifest stays", u"15", m15, {}, {}, {},
       {kFetchManifest, "tell CouldNotCheck"}, R::CouldNotCheck, m15, {}},
      {"server answers without a version: could not check", u"15", m15, {},
       {{kServer, "<html><body>502 Bad Gateway</body></html>"}}, {},
       {kFetchManifest, "tell CouldNotCheck"}, R::CouldNotCheck, m15, {}},
      {"server manifest whose version has no digits: could not check", u"15", {}, {},
       {{kServer, Manifest("latest", kImageHttps)}}, {}, {kFetchManifest, "tell CouldNotCheck"}, R::CouldNotCheck,
       {}, {}},
      {"declined: nothing fetched but the manifest, which stays", u"15", {}, {},
       {{kServer, m16}, {kImageHttps, kImage}}, {false}, {kFetchManifest, "ask UpdateQuestion"}, R::Declined, m16, {}},
      {"bad checksum: refused and deleted, nothing started", u"15", {}, {},
       {{kServer, m16}, {kImageHttps, kImage + "!"}}, {true},
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttps, "tell ImageRefused"}, R::ImageRefused, m16, {}},
      {"image not on the server: download failed", u"15", {}, {}, {{kServer, m16}}, {true},
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttps, "tell ImageFetchFailed"}, R::ImageFetchFailed, m16, {}},
      {"manifest without an image address: download failed without a fetch", u"15", {}, {},
       {{kServer, Manifest("16", u"")}}, {true}, {kFetchManifest, "ask UpdateQuestion", "tell ImageFetchFailed"},
       R::ImageFetchFailed, Manifest("16", u""), {}},
      {"local manifest newer, no image: the image is fetched and checked before the hand-over", u"15", m16, {},
       {{kImageHttps, kImage}}, {true}, {"ask UpdateQuestion", kFetchImageHttps, kLaunch, "close"}, R::HandedOver, m16,
       kImage},
      {"local manifest newer, no image, bad image on the server: refused, nothing started", u"15", m16, {},
       {{kImageHttps, kOldImage}}, {true}, {"ask UpdateQuestion", kFetchImageHttps, "tell ImageRefused"},
       R::ImageRefused, m16, {}},
      {"local manifest newer, checked image on disk: handed over without any fetch", u"15", m16, kImage, {}, {true},
       {"ask UpdateQuestion", kLaunch, "close"}, R::HandedOver, m16, kImage},
      {"local manifest newer, other image on disk: deleted and fetched again", u"15", m16, kOldImage,
       {{kImageHttps, kImage}}, {true}, {"ask UpdateQuestion", kFetchImageHttps, kLaunch, "close"}, R::HandedOver, m16,
       kImage},
      {"local manifest newer, other image on disk, server down: deleted, nothing started", u"15", m16, kOldImage, {},
       {true}, {"ask UpdateQuestion", kFetchImageHttps, "tell ImageFetchFailed"}, R::ImageFetchFailed, m16, {}},
      {"local manifest newer, declined: nothing fetched, nothing touched", u"15", m16, kOldImage, {}, {false},
       {"ask UpdateQuestion"}, R::Declined, m16, kOldImage},
      {"unknown mouse version and a local manifest of 5: asked at once, image fetched first", u"",
       Manifest("5", kImageHttps), {}, {{kImageHttps, kImage}}, {true},
       {"ask UpdateQuestion", kFetchImageHttps, kLaunch, "close"}, R::HandedOver, Manifest("5", kImageHttps), kImage},
      {"local manifest without a digest and an image on disk: fetched again over HTTPS", u"15",
       Manifest("16", kImageHttps, std::nullopt), kOldImage, {{kImageHttps, kImage}}, {true},
       {"ask UpdateQuestion", kFetchImageHttps, kLaunch, "close"}, R::HandedOver,
       Manifest("16", kImageHttps, std::nullopt), kImage},
      {"no digest, image over HTTPS: accepted", u"15", {}, {},
       {{kServer, Manifest("16", kImageHttps, std::nullopt)}, {kImageHttps, kImage}}, {true},
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttps, kLaunch, "close"}, R::HandedOver,
       Manifest("16", kImageHttps, std::nullopt), kImage},
      {"no digest, image over plain HTTP: refused", u"15", {}, {},
       {{kServer, Manifest("16", kImageHttp, std::nullopt)}, {kImageHttp, kImage}}, {true},
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttp, "tell ImageRefused"}, R::ImageRefused,
       Manifest("16", kImageHttp, std::nullopt), {}},
      {"no digest, empty image over HTTPS: refused", u"15", {}, {},
       {{kServer, Manifest("16", kImageHttps, std::nullopt)}, {kImageHttps, ""}}, {true},
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttps, "tell ImageRefused"}, R::ImageRefused,
       Manifest("16", kImageHttps, std::nullopt), {}},
      {"digest over plain HTTP that matches: accepted", u"15", {}, {},
       {{kServer, Manifest("16", kImageHttp)}, {kImageHttp, kImage}}, {true},
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttp, kLaunch, "close"}, R::HandedOver,
       Manifest("16", kImageHttp), kImage},
      {"digest in capitals with blanks around it: accepted", u"15", {}, {},
       {{kServer, Manifest("16", kImageHttps, " BCF115F79F45EC253F7CB42553F0B71ABEFD87E475B3897D560F826A55DE28BF\n")},
        {kImageHttps, kImage}},
       {true}, {kFetchManifest, "ask UpdateQuestion", kFetchImageHttps, kLaunch, "close"}, R::HandedOver,
       Manifest("16", kImageHttps, " BCF115F79F45EC253F7CB42553F0B71ABEFD87E475B3897D560F826A55DE28BF\n"), kImage},
      {"malformed digest: refused", u"15", {}, {},
       {{kServer, Manifest("16", kImageHttps, kImageSha.substr(1))}, {kImageHttps, kImage}}, {true},
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttps, "tell ImageRefused"}, R::ImageRefused,
       Manifest("16", kImageHttps, kImageSha.substr(1)), {}},
  };
}

struct Bench {
  Journal journal;
  VirtualFileSystem files;
  CXmlReader xml;
  VirtualDownloader served{files};
  JournalDownloader downloader{journal, served};
  JournalShell shell{journal};
  ScriptedUser user;

  explicit Bench(std::deque<bool> answers) : user(journal, std::move(answers)) { files.AddFolder(kFolder); }
  FirmwareCheckResult Run(std::u16string mouse, std::u16string& address) {
    return CheckFirmware({files, xml, downloader, shell, user}, kFolder, kServer, mouse, address);
  }
  std::optional<std::string> Content(const std::u16string& path) const {
    const auto bytes = files.FileContent(path);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
  }
};

TEST(FirmwareCheck, FollowsEveryPathFromVersionsAnswersAndFiles) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Bench bench(c.answers);
    if (c.localManifest) bench.files.PutFile(kManifestFile, Bytes(*c.localManifest));
    if (c.localImage) bench.files.PutFile(kImageFile, Bytes(*c.localImage));
    for (const auto& [address, content] : c.served) bench.served.Serve(address, content);

    std::u16string address = u"kept";
    EXPECT_EQ(bench.Run(c.mouse, address), c.result);
    EXPECT_EQ(bench.journal, c.expected);
    EXPECT_EQ(bench.user.AnswersLeft(), 0u);
    EXPECT_EQ(bench.Content(kManifestFile), c.manifestAfter);
    EXPECT_EQ(bench.Content(kImageFile), c.imageAfter);
    // Nothing fetched stays under its temporary name.
    for (const std::u16string& file : bench.files.AllFiles())
      EXPECT_EQ(file.find(u".download"), std::u16string::npos) << Utf8FromUtf16(file);
  }
}

TEST(FirmwareCheck, KeepsTheImageAddressOfTheManifestItRead) {
  struct {
    std::optional<std::string> local;
    std::u16string expected;
  } cases[] = {
      {std::nullopt, kImageHttps},                            // from the server's manifest
      {Manifest("16", kImageHttp), kImageHttp},              // from the newer local one
  };
  for (const auto& c : cases) {
    Bench bench({false});
    if (c.local) bench.files.PutFile(kManifestFile, Bytes(*c.local));
    bench.served.Serve(kServer, Manifest("16", kImageHttps));
    std::u16string address = u"kept";
    bench.Run(u"15", address);
    EXPECT_EQ(address, c.expected);
  }
}

TEST(FirmwareCheck, AFileThatCannotBePutInPlaceLeavesTheOldOneAndStartsNothing) {
  const std::string m15 = Manifest("15", kImageHttps);
  // Replaces, in order: the manifest's fetch, its rename, the image's fetch, the image's rename.
  const struct {
    const char* name;
    int failingReplace;
    FirmwareCheckResult result;
    Journal journal;
    std::string manifestAfter;
  } cases[] = {
      {"manifest", 2, FirmwareCheckResult::CouldNotCheck, {kFetchManifest, "tell CouldNotCheck"}, m15},
      {"image", 4, FirmwareCheckResult::ImageFetchFailed,
       {kFetchManifest, "ask UpdateQuestion", kFetchImageHttps, "tell ImageFetchFailed"}, Manifest("16", kImageHttps)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bench bench({true});
    bench.files.PutFile(kManifestFile, Bytes(m15));
    bench.files.PutFile(kImageFile, Bytes(kOldImage));
    bench.served.Serve(kServer, Manifest("16", kImageHttps));
    bench.served.Serve(kImageHttps, kImage);
    bench.files.FailAt(VirtualFileSystem::WriteStep::Replace, FileStatus::AccessDenied, c.failingReplace);
    std::u16string address;
    EXPECT_EQ(bench.Run(u"15", address), c.result);
    EXPECT_EQ(bench.journal, c.journal);
    EXPECT_EQ(bench.Content(kImageFile), kOldImage);
    EXPECT_EQ(bench.Content(kManifestFile), c.manifestAfter);
    EXPECT_FALSE(bench.files.Exists(kManifestFile + u".download"));
    EXPECT_FALSE(bench.files.Exists(kImageFile + u".download"));
  }
}

TEST(FirmwareCheck, MakesTheDownloadFoldersOfAFreshInstallation) {
  Bench bench({true});
  bench.served.Serve(kServer, Manifest("16", kImageHttps));
  bench.served.Serve(kImageHttps, kImage);
  std::u16string address;
  EXPECT_EQ(bench.Run(u"15", address), FirmwareCheckResult::HandedOver);
  EXPECT_EQ(bench.Content(kImageFile), kImage);
}

TEST(FirmwareCheck, VersionsAreTheLeadingDigits) {
  struct {
    std::u16string text;
    uint32_t number;
  } cases[] = {
      {u"", 0},     {u"15", 15},          {u"007", 7},           {u" 16\r\n", 16},         {u"16a", 16},
      {u"a16", 0},  {u"-3", 0},           {u"4294967295", 4294967295u}, {u"99999999999", 4294967295u},
  };
  for (const auto& c : cases) EXPECT_EQ(FirmwareVersionNumber(c.text), c.number) << Utf8FromUtf16(c.text);
}

TEST(FirmwareCheck, ReadsTheManifestsThreeElements) {
  CXmlReader xml;
  const FirmwareManifest full = ReadFirmwareManifest(xml, Manifest("16", kImageHttps));
  EXPECT_TRUE(full.hasVersion);
  EXPECT_EQ(full.current, 16u);
  EXPECT_EQ(full.newfile, kImageHttps);
  EXPECT_EQ(Utf8FromUtf16(full.sha256), kImageSha);

  const FirmwareManifest none = ReadFirmwareManifest(xml, "<update><software/></update>");
  EXPECT_FALSE(none.hasVersion);
  EXPECT_EQ(none.current, 0u);
  EXPECT_EQ(none.newfile, u"");
  EXPECT_EQ(none.sha256, u"");

  EXPECT_TRUE(ReadFirmwareManifest(xml, Manifest("\n 17 ", kImageHttps)).hasVersion);
  EXPECT_FALSE(ReadFirmwareManifest(xml, Manifest("v17", kImageHttps)).hasVersion);
  EXPECT_EQ(ReadFirmwareManifest(xml, Manifest("16", kImageHttps, " \n")).sha256, u"");
}

TEST(FirmwareCheck, ManifestAddressIsTheMakersUnlessTheIniBesideTheProgramNamesOne) {
  testing::TempFolder folder;
  FileIniFile ini;
  EXPECT_EQ(ManifestAddress(ini, folder.Text()), u"https://update.vorna-gaming.com/software/nx7/update.xml");
  folder.Write("UpdateServer.ini", "[Firmware]\r\nManifestUrl=\r\n");
  EXPECT_EQ(ManifestAddress(ini, folder.Text()), kDefaultManifestAddress);
  folder.Write("UpdateServer.ini", "[Firmware]\r\nManifestUrl = http://127.0.0.1:8080/software/nx7/update.xml\r\n");
  EXPECT_EQ(ManifestAddress(ini, folder.Text()), kServer);
}

TEST(FirmwareCheck, MessagesInBothLanguages) {
  struct {
    FirmwareMessage message;
    std::u16string chinese, english;
  } cases[] = {
      {FirmwareMessage::UpdateQuestion, u"游戏鼠标固件有更新,是否更新到最新版本?",
       u"A new version of firmware is available for the gaming mouse, whether to update or not?"},
      {FirmwareMessage::LatestVersion, u"固件已经是最新版本.", u"Firmware is the latest version."},
      {FirmwareMessage::ImageFetchFailed, u"New-version firmware download failed.",
       u"New-version firmware download failed."},
      {FirmwareMessage::CouldNotCheck, u"无法检查固件更新,请检查网络连接后再试.",
       u"Could not check for new firmware. Please check the network connection and try again."},
      {FirmwareMessage::ImageRefused, u"下载的固件未通过校验,已被删除,未进行更新.",
       u"The downloaded firmware failed the checksum check and was deleted. The update was not started."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirmwareMessageText(c.message, true), c.chinese) << Name(c.message);
    EXPECT_EQ(FirmwareMessageText(c.message, false), c.english) << Name(c.message);
  }
}

}  // namespace
}  // namespace nx7

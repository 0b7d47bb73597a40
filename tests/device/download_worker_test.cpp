#include "device/download_worker.h"

#include <gtest/gtest.h>

#include "app/messages.h"
#include "app/posting_download_windows.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"

namespace nx7 {
namespace {

TEST(DownloadWorker, OnePassPerRequestWhileIdleAndStopsOnShutdown) {
  DownloadSignals signals;
  VirtualClock clock;
  RecordingPoster poster;
  WindowHandle progress = reinterpret_cast<WindowHandle>(0x42), main = reinterpret_cast<WindowHandle>(0x99);
  PostingDownloadWindows windows(poster, [&] { return progress; }, main);
  std::mutex m;
  std::condition_variable passed;
  int passes = 0;
  DownloadWorker worker(signals, clock, windows, [&](DownloadObserver& o) {
    EXPECT_EQ(signals.downloadIdle.load(), 0);
    o.Progress(0);
    o.Done();
    std::lock_guard lock(m);
    ++passes;
    passed.notify_all();
  });
  worker.Start();
  ASSERT_TRUE(signals.RequestDownload());
  {
    std::unique_lock lock(m);
    passed.wait(lock, [&] { return passes == 1; });
  }
  EXPECT_FALSE(signals.RequestDownload());  // outcome not handled yet
  signals.OutcomeHandled();
  ASSERT_TRUE(signals.RequestDownload());
  {
    std::unique_lock lock(m);
    passed.wait(lock, [&] { return passes == 2; });
  }
  worker.Stop();
  EXPECT_EQ(passes, 2);
  EXPECT_EQ(clock.TotalSlept(), 100u);
  const auto posts = poster.Take();
  ASSERT_EQ(posts.size(), 4u);
  EXPECT_EQ(posts[0].window, progress);
  EXPECT_EQ(posts[0].message, WM_DOWNLOAD_PROGRESS);
  EXPECT_EQ(posts[1].window, main);
  EXPECT_EQ(posts[1].message, WM_DOWNLOAD_DONE);
}

TEST(DownloadWorker, WithoutAMainWindowClosesTheProgressWindowAndEnds) {
  DownloadSignals signals;
  VirtualClock clock;
  RecordingPoster poster;
  WindowHandle progress = reinterpret_cast<WindowHandle>(0x42);
  PostingDownloadWindows windows(poster, [&] { return progress; }, nullptr);
  int passes = 0;
  DownloadWorker worker(signals, clock, windows, [&](DownloadObserver&) { ++passes; });
  worker.Start();
  signals.RequestDownload();
  std::vector<PostedMessage> posts;
  while (posts.empty()) {
    posts = poster.Take();
    std::this_thread::yield();
  }
  worker.Stop();
  EXPECT_EQ(passes, 0);
  EXPECT_EQ(posts, (std::vector<PostedMessage>{{progress, 0x0010, 0, 0}}));
}

TEST(DownloadWorker, FailureGoesToTheMainWindowWithItsStage) {
  RecordingPoster poster;
  WindowHandle main = reinterpret_cast<WindowHandle>(0x99);
  PostingDownloadWindows windows(poster, [] { return nullptr; }, main);
  ASSERT_TRUE(windows.BeginPass());
  windows.Progress(7);  // no progress window yet: lost
  windows.Failed(4);
  EXPECT_EQ(poster.Take(), (std::vector<PostedMessage>{{main, WM_DOWNLOAD_FAILED, 0, 4}}));
}

}  // namespace
}  // namespace nx7

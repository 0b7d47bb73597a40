#include "stats/cursor_sampler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/messages.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"

namespace nx7 {
namespace {

int window;  // any distinct address stands for the page

TEST(CursorSampler, PostsASampleEvery500MsUntilStoppedAndNothingAfter) {
  VirtualClock clock;
  RecordingPoster poster;
  std::atomic<int> reads{0};
  CursorSampler sampler(clock, poster, [&] {
    const int n = ++reads;
    return CursorPoint{n * 10, -n};
  });
  EXPECT_FALSE(sampler.Running());
  sampler.Start(&window);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (reads < 5 && std::chrono::steady_clock::now() < until) std::this_thread::yield();
  sampler.Stop();
  EXPECT_FALSE(sampler.Running());

  const int samples = reads;
  ASSERT_GE(samples, 5);
  const std::vector<PostedMessage> posts = poster.Take();
  ASSERT_EQ(posts.size(), size_t(samples));
  for (const PostedMessage& p : posts) EXPECT_EQ(p, (PostedMessage{&window, WM_STS_CURSOR, 0, 0}));
  EXPECT_EQ(sampler.Sample(), (CursorPoint{samples * 10, -samples}));
  // A full period after every sample but the last, whose pause the stop may cut short.
  EXPECT_GE(clock.TotalSlept(), uint64_t(samples - 1) * CursorSampler::kPeriodMs);
  EXPECT_LE(clock.TotalSlept(), uint64_t(samples) * CursorSampler::kPeriodMs);

  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(poster.Take().empty());
  EXPECT_EQ(reads, samples);
}

// A still cursor adds no distance: after the first sample only a move is posted.
TEST(CursorSampler, AStillCursorIsPostedOnceAndAgainOnlyWhenItMoves) {
  VirtualClock clock;
  RecordingPoster poster;
  std::atomic<int> reads{0};
  CursorSampler sampler(clock, poster, [&] {
    const int n = ++reads;
    return n < 5 ? CursorPoint{7, 7} : CursorPoint{8, 7};
  });
  sampler.Start(&window);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (reads < 7 && std::chrono::steady_clock::now() < until) std::this_thread::yield();
  sampler.Stop();
  ASSERT_GE(reads, 7);
  EXPECT_EQ(poster.Take().size(), 2u);  // the first sample, and the move at the fifth
  EXPECT_EQ(sampler.Sample(), (CursorPoint{8, 7}));
}

TEST(CursorSampler, AStopIsSeenWithinOneSliceOfThePause) {
  VirtualClock clock;
  RecordingPoster poster;
  std::atomic<bool> paused{false}, go{false};
  // The first slice of the pause after the first sample holds the thread until the test lets it go.
  clock.SetSleepListener([&](uint32_t ms) {
    EXPECT_EQ(ms, CursorSampler::kStopSliceMs);
    if (paused.exchange(true)) return;
    while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  CursorSampler sampler(clock, poster, [] { return CursorPoint{1, 2}; });
  sampler.Start(&window);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!paused && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(paused);
  std::thread stopper([&] { sampler.Stop(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the stop is asked for while the thread pauses
  go = true;
  stopper.join();
  EXPECT_FALSE(sampler.Running());
  EXPECT_EQ(poster.Take().size(), 1u);
  EXPECT_EQ(clock.TotalSlept(), uint64_t(CursorSampler::kStopSliceMs));
}

// Once the hook tells of moves, a still cursor is read once more and then not again until the
// next move; a stop ends a parked thread at once.
TEST(CursorSampler, WithMovesToldAStillCursorParksTheThreadUntilTheNextMove) {
  VirtualClock clock;
  RecordingPoster poster;
  std::atomic<int> reads{0}, x{7};
  CursorSampler sampler(clock, poster, [&] {
    ++reads;
    return CursorPoint{x.load(), 7};
  });
  auto waitFor = [&](int n) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (reads < n && std::chrono::steady_clock::now() < until) std::this_thread::yield();
    return reads.load();
  };
  sampler.PointerMoved();
  sampler.Start(&window);
  ASSERT_EQ(waitFor(2), 2);  // the first sample, and the still one after a period
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(clock.TotalSlept(), uint64_t(CursorSampler::kPeriodMs));
  EXPECT_EQ(poster.Take().size(), 1u);

  for (int step = 1; step <= 3; ++step) {
    SCOPED_TRACE("move " + std::to_string(step));
    x = 7 + step;
    sampler.PointerMoved();
    ASSERT_EQ(waitFor(2 + 2 * step), 2 + 2 * step);  // the move a period later, then still again
    EXPECT_EQ(clock.TotalSlept(), uint64_t(1 + 2 * step) * CursorSampler::kPeriodMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(reads, 2 + 2 * step);
    EXPECT_EQ(poster.Take().size(), 1u);
    EXPECT_EQ(sampler.Sample(), (CursorPoint{7 + step, 7}));
  }
  sampler.Stop();
  EXPECT_FALSE(sampler.Running());
  EXPECT_TRUE(poster.Take().empty());
}

TEST(CursorSampler, NegativeCoordinatesSurviveTheHandOver) {
  VirtualClock clock;
  RecordingPoster poster;
  std::atomic<int> reads{0};
  CursorSampler sampler(clock, poster, [&] {
    ++reads;
    return CursorPoint{-1920, -1};
  });
  sampler.Start(&window);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (reads < 1 && std::chrono::steady_clock::now() < until) std::this_thread::yield();
  sampler.Stop();
  EXPECT_EQ(sampler.Sample(), (CursorPoint{-1920, -1}));
}

}  // namespace
}  // namespace nx7

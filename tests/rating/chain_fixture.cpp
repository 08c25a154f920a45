// The chain tests' shared parts; see chain_fixture.h.
#include "rating/chain_fixture.h"

#include <cstdio>

namespace orvo::test {

using namespace std::chrono_literals;

std::string ResultLine(uint32_t code, intptr_t lparam) {
  return "result " + std::to_string(code) + " " + std::to_string(lparam);
}

void RecordingWindow::Note(std::string line) {
  if (!os::CurrentUiDispatcher()->IsUiThread()) off_ui_thread = true;
  events.push_back(std::move(line));
}

void RecordingWindow::RatingResult(const TRatingResult& result) {
  Note(ResultLine(static_cast<uint32_t>(result.WParam), result.LParam));
}

void RecordingWindow::SetLoadFailed(bool failed) { Note(failed ? "load failed" : "load ok"); }

void RecordingWindow::ApplyRatings(const TPlugRatings& ratings) {
  std::string line = "ratings " + ratings.ServicePlugId + " [";
  for (size_t i = 0; i < ratings.StarCounts.size(); ++i) {
    line += (i ? "," : "") + std::to_string(ratings.StarCounts[i]);
  }
  char average[32];
  std::snprintf(average, sizeof average, "] %.2f", ratings.Average);
  Note(line + average);
}

void RecordingWindow::AddReviewRows(const std::vector<TReviewData>& reviews, bool more) {
  Note("rows " + std::to_string(reviews.size()) + (more ? " more" : ""));
  rows.insert(rows.end(), reviews.begin(), reviews.end());
}

void RecordingMainWindow::RatingResult(const TRatingResult& result) {
  if (!os::CurrentUiDispatcher()->IsUiThread()) off_ui_thread = true;
  if (result.Code() == rcAverageRatings) {
    const TBrowserExtensionInfo* record = result.Record();
    events.push_back("rating " + (record ? record->Id : std::string("(none)")) + " " +
                     std::to_string(result.RatingTenths()));
  } else {
    events.push_back(ResultLine(static_cast<uint32_t>(result.WParam), result.LParam));
  }
  if (also) also(result);
}

TestCatalogue::TestCatalogue(uint8_t kind, const std::vector<std::string>& ids) {
  BrowserKind = kind;
  for (const std::string& id : ids) {
    auto record = std::make_unique<TBrowserExtensionInfo>();
    record->Id = id;
    record->Name = "Name of " + id;
    Items.push_back(std::move(record));
  }
}

ChangeResult TestCatalogue::DeleteItem(TBrowserExtensionInfo* item) {
  RemoveItem(item);
  return {};
}

void ChainTest::Wait(const std::shared_ptr<const bool>& ended) {
  ASSERT_TRUE(ui_.dispatcher().RunUntil([&] { return *ended; }, 60s)) << "the chain did not end";
}

}  // namespace orvo::test

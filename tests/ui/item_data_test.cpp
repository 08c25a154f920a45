// What applications hang on list rows and combobox items belongs to the row or item: it is
// freed exactly once whichever way the row goes (deleted, cleared, or with its list), the
// list's OnItemDataDelete sees it before it goes, a new value frees the old one, and reading
// it back as another type gives nothing.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/lum_combobox.h"
#include "list_scene.h"

namespace orvo {
namespace {

using test::ListScene;

// Counts its own destruction by id.
struct Tracked : TItemData {
  Tracked(std::map<int, int>& freed, int id) : freed(freed), id(id) {}
  ~Tracked() override { ++freed[id]; }
  std::map<int, int>& freed;
  int id;
};

struct Other : TItemData {};

TEST(ItemData, EveryWayARowGoesFreesItsDataOnceAfterTheEventSawIt) {
  enum How { kDestroyed, kCleared, kDeletedOneByOne };
  for (const How how : {kDestroyed, kCleared, kDeletedOneByOne}) {
    ListScene s(0, 102, /*shown=*/false);
    std::map<int, int> freed;
    std::vector<int> events;
    for (int i = 0; i < 4; ++i) s.list->AddItem().Data = std::make_unique<Tracked>(freed, i);
    s.list->AddItem();  // a row without data goes as well
    s.list->OnItemDataDelete = [&](TLumListView&, TLumLvItem& row) {
      const auto* data = row.DataAs<Tracked>();
      events.push_back(data ? data->id : -1);
      // The event comes first: the data is still there.
      if (data) {
        EXPECT_EQ(freed.count(data->id), 0u) << how;
      }
    };
    if (how == kDestroyed) {
      s.form.Release(s.list);
      s.list = nullptr;
    } else if (how == kCleared) {
      s.list->Clear();
    } else {
      while (s.list->ItemCount() > 0) s.list->DeleteItem(s.list->Items(0));
    }
    EXPECT_EQ(freed, (std::map<int, int>{{0, 1}, {1, 1}, {2, 1}, {3, 1}})) << how;
    std::vector<int> expected = how == kDeletedOneByOne ? std::vector<int>{0, 1, 2, 3, -1}
                                                        : std::vector<int>{-1, 3, 2, 1, 0};
    EXPECT_EQ(events, expected) << how;
  }
}

TEST(ItemData, ANewValueFreesTheOldAndTheTypeIsChecked) {
  ListScene s(1, 102, /*shown=*/false);
  std::map<int, int> freed;
  TLumLvItem& row = *s.list->Items(0);
  EXPECT_EQ(row.DataAs<Tracked>(), nullptr);
  row.Data = std::make_unique<Tracked>(freed, 1);
  row.Data = std::make_unique<Tracked>(freed, 2);
  EXPECT_EQ(freed, (std::map<int, int>{{1, 1}}));
  ASSERT_NE(row.DataAs<Tracked>(), nullptr);
  EXPECT_EQ(row.DataAs<Tracked>()->id, 2);
  EXPECT_EQ(row.DataAs<Other>(), nullptr);
  row.Data.reset();
  EXPECT_EQ(freed, (std::map<int, int>{{1, 1}, {2, 1}}));
}

TEST(ItemData, ComboboxItemsFreeTheirDataWhenClearedAndWithTheBox) {
  ListScene s(0, 102, /*shown=*/false);
  std::map<int, int> freed;
  auto* box = s.form.Make<TLumCombobox>();
  box->AddItem("a").Data = std::make_unique<Tracked>(freed, 1);
  box->Clear();
  EXPECT_EQ(freed, (std::map<int, int>{{1, 1}}));
  box->AddItem("b").Data = std::make_unique<Tracked>(freed, 2);
  box->AddItem("c").Data = std::make_unique<Other>();
  EXPECT_EQ(box->Items(1)->DataAs<Tracked>(), nullptr);
  s.form.Release(box);
  EXPECT_EQ(freed, (std::map<int, int>{{1, 1}, {2, 1}}));
}

}  // namespace
}  // namespace orvo

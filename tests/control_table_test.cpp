#include "window/control_table.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/control_ids.h"

namespace {

const ControlSpec* Find(int id) {
  for (const ControlSpec& spec : kControls)
    if (spec.id == id) return &spec;
  return nullptr;
}

TEST(ControlTable, IdsAreUniqueAndAvoidTheTimerAndTheUnusedIds) {
  std::set<int> ids;
  for (const ControlSpec& spec : kControls) ids.insert(spec.id);
  EXPECT_EQ(ids.size(), kControls.size());
  for (int absent : {1000, 1011, 1020}) EXPECT_EQ(ids.count(absent), 0u) << absent;
  EXPECT_EQ(*ids.begin(), 1001);
  EXPECT_EQ(*ids.rbegin(), 1060);
}

TEST(ControlTable, EveryRuleRowHasItsControlsOnOneLineInTabOrder) {
  for (int r = 0; r < kRuleCount; ++r) {
    const RuleRow& row = kRuleRows[r];
    const ControlSpec* box = Find(row.rule_box);
    const ControlSpec* speak = Find(row.speak_radio);
    const ControlSpec* sfx = Find(row.sfx_radio);
    const ControlSpec* sound = Find(row.sound_box);
    const ControlSpec* browse = Find(row.browse_button);
    ASSERT_TRUE(box && speak && sfx && sound && browse) << r;
    EXPECT_EQ(box->kind, ControlKind::RuleCheckBox);
    EXPECT_EQ(speak->kind, ControlKind::SpeakRadio);
    EXPECT_EQ(sfx->kind, ControlKind::SfxRadio);
    EXPECT_EQ(sound->kind, ControlKind::SoundBox);
    EXPECT_EQ(browse->kind, ControlKind::BrowseButton);
    for (const ControlSpec* spec : {speak, sfx, sound, browse}) EXPECT_EQ(spec->y, box->y) << r;
    EXPECT_TRUE(box < speak && speak < sfx && sfx < sound && sound < browse) << r;
  }
}

TEST(ControlTable, EveryControlFitsInsideTheWindow) {
  for (const ControlSpec& spec : kControls) {
    EXPECT_GE(spec.x, 0) << spec.id;
    EXPECT_LE(spec.x + spec.width, kWindow.width) << spec.id;
    EXPECT_LE(spec.y + spec.height, kWindow.height) << spec.id;
  }
}

}  // namespace

// The window as AT-SPI shows it to a screen reader: roles, names,
// descriptions, states and the events each change sends.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "backends/linux/accessibility/screen_reader_view.h"

namespace {

using screen_reader::Accessible;
using screen_reader::Event;
using screen_reader::HasEvent;
using screen_reader::RunningProgram;
using screen_reader::WaitFor;

// Under ThreadSanitizer the program's bridge runs Qt's D-Bus thread and
// this client glib's, in Qt and glib code it cannot follow.
class AccessibleWindow : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "skipped under ThreadSanitizer: the program's accessibility bridge and this "
                    "client run D-Bus threads in Qt and glib code it cannot follow";
#endif
    program_ = std::make_unique<RunningProgram>();
    ASSERT_TRUE(program_->Started()) << "the program's window never reached AT-SPI";
    screen_reader::ClearEvents();
  }
  void TearDown() override {
    if (program_ && program_->Started()) {
      EXPECT_EQ(program_->Errors(), "") << "the program's standard error";
    }
  }

  Accessible Named(const std::string& name) {
    Accessible control = program_->Named(name);
    EXPECT_NE(control, nullptr) << "no control named \"" << name << "\"";
    return control;
  }
  static double ValueOf(AtspiAccessible* picker) {
    return atspi_value_get_current_value(ATSPI_VALUE(picker), nullptr);
  }
  static std::string TextOf(AtspiAccessible* picker) {
    gchar* text = atspi_text_get_text(ATSPI_TEXT(picker), 0, -1, nullptr);
    const std::string shown = text != nullptr ? text : "";
    g_free(text);
    return shown;
  }

  std::unique_ptr<RunningProgram> program_;
};

TEST_F(AccessibleWindow, IsAFrameNamedByItsTitleWhoseControlsEachSayTheirRow) {
  EXPECT_EQ(atspi_accessible_get_role(program_->Frame(), nullptr), ATSPI_ROLE_FRAME);
  EXPECT_EQ(screen_reader::NameOf(program_->Frame()), "Quorvel");
  // Roles by value: their names differ between AT-SPI releases (a push
  // button is "button" from 2.5x on).
  const struct {
    const char* name;
    AtspiRole role;
  } expected[] = {
      {"Say ascending sequences", ATSPI_ROLE_CHECK_BOX},
      {"Say custom alarm 1", ATSPI_ROLE_CHECK_BOX},
      {"Say custom alarm 2", ATSPI_ROLE_CHECK_BOX},
      {"Alarm 1 time", ATSPI_ROLE_SPIN_BUTTON},
      {"Alarm 2 time", ATSPI_ROLE_SPIN_BUTTON},
      {"Speak for Say 4-20", ATSPI_ROLE_RADIO_BUTTON},
      {"SFX for Say custom alarm 2", ATSPI_ROLE_RADIO_BUTTON},
      {"Sound for Say hour progressions", ATSPI_ROLE_TEXT},
      {"Browse for the sound of Say 4-20", ATSPI_ROLE_PUSH_BUTTON},
      {"Use 12-hour clock", ATSPI_ROLE_CHECK_BOX},
  };
  for (const auto& control : expected) {
    const Accessible found = Named(control.name);
    if (found) {
      EXPECT_EQ(atspi_accessible_get_role(found.get(), nullptr), control.role)
          << control.name << " is a " << screen_reader::RoleOf(found.get());
    }
  }
  // No two controls a user reaches share a name: 58 controls, less the
  // caption and the clock.
  std::map<std::string, int> names;
  const int count = atspi_accessible_get_child_count(program_->Frame(), nullptr);
  for (int i = 0; i < count; ++i) {
    Accessible child(atspi_accessible_get_child_at_index(program_->Frame(), i, nullptr));
    if (atspi_accessible_get_role(child.get(), nullptr) != ATSPI_ROLE_LABEL)
      ++names[screen_reader::NameOf(child.get())];
  }
  EXPECT_EQ(names.size(), 56u);
  for (const auto& [name, times] : names) EXPECT_EQ(times, 1) << "\"" << name << "\"";
}

TEST_F(AccessibleWindow, APickerTellsEveryTimeItShowsAsItsValue) {
  ASSERT_TRUE(program_->Focus("Alarm 1 time"));
  const Accessible picker = Named("Alarm 1 time");
  ASSERT_EQ(TextOf(picker.get()), "07:00 AM");
  const struct {
    std::vector<const char*> keys;
    const char* shown;
    double minute_of_day;
  } steps[] = {
      {{"Up"}, "08:00 AM", 480},
      {{"Up"}, "09:00 AM", 540},
      {{"Down"}, "08:00 AM", 480},
      {{"Home", "1", "1"}, "11:00 AM", 660},  // digits in front of a field replace it
      {{"Right", "4", "5"}, "11:45 AM", 705},
  };
  for (const auto& step : steps) {
    screen_reader::ClearEvents();
    for (const char* key : step.keys) screen_reader::PressKey(key);
    EXPECT_TRUE(WaitFor([&] { return ValueOf(picker.get()) == step.minute_of_day; }))
        << step.shown << ": the value is " << ValueOf(picker.get());
    EXPECT_EQ(TextOf(picker.get()), step.shown);
    EXPECT_TRUE(WaitFor([] {
      for (const Event& event : screen_reader::Events())
        if (event.type == "object:property-change:accessible-value") return true;
      return false;
    })) << step.shown << ": no value change sent";
  }
}

TEST_F(AccessibleWindow, EveryArrowKeyMovesThroughARowsRadioPair) {
  ASSERT_TRUE(program_->Focus("Speak for Say 4-20"));
  const struct {
    const char* key;
    const char* chosen;
  } steps[] = {
      {"Down", "SFX for Say 4-20"},
      {"Up", "Speak for Say 4-20"},
      {"Right", "SFX for Say 4-20"},
      {"Left", "Speak for Say 4-20"},
  };
  for (const auto& step : steps) {
    screen_reader::PressKey(step.key);
    const Accessible chosen = Named(step.chosen);
    EXPECT_TRUE(WaitFor([&] {
      return screen_reader::HasState(chosen.get(), ATSPI_STATE_CHECKED) &&
             screen_reader::HasState(chosen.get(), ATSPI_STATE_FOCUSED);
    })) << step.key << ": " << step.chosen << " is not chosen";
  }
  // The row above kept its own choice.
  EXPECT_TRUE(screen_reader::HasState(Named("Speak for Say hour progressions").get(),
                                      ATSPI_STATE_CHECKED));
}

TEST_F(AccessibleWindow, TheCaptionShownAndHiddenSendsVisibleAndShowing) {
  const Accessible box = Named("Say ascending sequences");
  screen_reader::PointAt(box.get());
  for (const char* state : {"visible", "showing"})
    EXPECT_TRUE(WaitFor([&] {
      return HasEvent({std::string("object:state-changed:") + state, "Next matching time:", 1, ""});
    })) << state << " on";
  EXPECT_TRUE(Named("1:23") != nullptr) << "the clock shows the hover's time";
  screen_reader::PointAtCorner(program_->Frame());
  for (const char* state : {"visible", "showing"})
    EXPECT_TRUE(WaitFor([&] {
      return HasEvent({std::string("object:state-changed:") + state, "Next matching time:", 0, ""});
    })) << state << " off";
}

TEST_F(AccessibleWindow, TheFocusedControlIsDescribedAsItsChangesAreSpoken) {
  ASSERT_TRUE(program_->Focus("Say ascending sequences"));
  const Accessible box = Named("Say ascending sequences");
  EXPECT_EQ(screen_reader::DescriptionOf(box.get()), "Next matching time: 1:23");
  EXPECT_TRUE(WaitFor([&] { return program_->Named("12:40") != nullptr; }))
      << "the clock shows the time, not the hover's";

  ASSERT_TRUE(program_->Focus("Use 12-hour clock"));
  EXPECT_EQ(screen_reader::DescriptionOf(box.get()), "") << "gone with the focus";
  screen_reader::ClearEvents();
  screen_reader::PressKey("space");
  EXPECT_TRUE(WaitFor([] {
    return HasEvent({"object:property-change:accessible-description", "Use 12-hour clock", 0,
                     "Use 24-hour clock checked"});
  })) << "the description's change carries its text";
  EXPECT_TRUE(screen_reader::HasState(Named("Use 24-hour clock").get(), ATSPI_STATE_CHECKED));
}

}  // namespace

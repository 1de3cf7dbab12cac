// The close rules of the main window and the language switch, driven without a screen.
#include <gtest/gtest.h>

#include "core/link/app_environment.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/project/project.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/close_rules.h"

namespace Brenno {
namespace {

class FakeHost : public CloseHost {
 public:
  explicit FakeHost(AppEnvironment& env) : env_(env) {}
  // A save clears the changed flag unless it is set to fail.
  void SaveProject() override {
    ++saves;
    if (!saveFails) env_.Modified = false;
  }
  bool saveFails = false;
  void StartCloseTimer() override { timer = true; ++timerStarts; }
  void StopCloseTimer() override { timer = false; }
  int saves = 0;
  int timerStarts = 0;
  bool timer = false;

 private:
  AppEnvironment& env_;
};

class CloseRulesTest : public ::testing::Test {
 protected:
  CloseRulesTest() { env.ProjectList.emplace_back(); }
  bool StopRequested() { return env.ProjectList.back().Online.Data().StopRequest; }

  AppEnvironment env;
  FakeHost host{env};
  shelltest::ScriptedMessageFacade facade;
  MainFrameCloseRules rules{env, host};
};

TEST_F(CloseRulesTest, OfflineWithoutChangesClosesWithoutAsking) {
  EXPECT_EQ(rules.OnCloseRequest(), CloseDecision::Close);
  EXPECT_TRUE(facade.asked.empty());
}

TEST_F(CloseRulesTest, OfflineWithChangesFollowsTheAnswer) {
  env.Modified = true;
  struct Case {
    int answer;
    bool saveFails;
    CloseDecision decision;
    int saves;
  };
  // A failed save keeps the window open with the changes.
  for (const Case& c : {Case{kIdCancel, false, CloseDecision::StayOpen, 0}, Case{kIdNo, false, CloseDecision::Close, 0},
                        Case{kIdYes, true, CloseDecision::StayOpen, 1}, Case{kIdYes, false, CloseDecision::Close, 1}}) {
    env.Modified = true;
    host.saveFails = c.saveFails;
    host.saves = 0;
    facade.asked.clear();
    facade.answers = {c.answer};
    EXPECT_EQ(rules.OnCloseRequest(), c.decision) << c.answer;
    EXPECT_EQ(host.saves, c.saves) << c.answer;
    ASSERT_EQ(facade.asked.size(), 1u);
    EXPECT_EQ(facade.asked[0].Text, L"Do you want to save the changes to your project?");
    EXPECT_EQ(facade.asked[0].Buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Question);
  }
}

TEST_F(CloseRulesTest, OnlineStopsTheMonitorAndClosesOnceOffline) {
  env.Modified = true;
  env.CommState = CommOnline;
  EXPECT_EQ(rules.OnCloseRequest(), CloseDecision::StayOpen);
  EXPECT_TRUE(host.timer);
  EXPECT_TRUE(StopRequested());
  EXPECT_TRUE(facade.asked.empty());

  env.CommState = CommLeavingOnline;
  EXPECT_EQ(rules.OnCloseRequest(), CloseDecision::StayOpen);  // ignored while leaving
  EXPECT_EQ(host.timerStarts, 1);
  EXPECT_EQ(rules.OnCloseTimer(), CloseDecision::StayOpen);
  EXPECT_TRUE(host.timer);

  env.CommState = CommOffline;
  facade.answers = {kIdNo};
  EXPECT_EQ(rules.OnCloseTimer(), CloseDecision::Close);
  EXPECT_FALSE(host.timer);
  EXPECT_EQ(facade.asked.size(), 1u);
}

TEST_F(CloseRulesTest, CancelAfterAnOnlineCloseLeavesTheWindowOpenWithoutTimer) {
  env.Modified = true;
  env.CommState = CommOnline;
  rules.OnCloseRequest();
  env.CommState = CommOffline;
  facade.answers = {kIdCancel};
  EXPECT_EQ(rules.OnCloseTimer(), CloseDecision::StayOpen);
  EXPECT_FALSE(host.timer);
}

TEST_F(CloseRulesTest, CloseIsIgnoredWhileAJobRuns) {
  for (int state : {CommOpeningOnline, CommOpeningCommand, CommLeavingOnline, CommCommandRequested, CommCommand,
                    CommLeavingCommand, CommCommandInOnline, CommReturningOnline}) {
    env.CommState = state;
    EXPECT_EQ(rules.OnCloseRequest(), CloseDecision::StayOpen) << state;
  }
  EXPECT_FALSE(host.timer);
  EXPECT_FALSE(StopRequested());
  EXPECT_TRUE(facade.asked.empty());
}

class LanguageSwitchTest : public ::testing::Test {
 protected:
  LanguageSwitchTest() { env.Config.Lang = 1; }
  void Switch(int target) {
    SwitchLanguage(env, target, [this] { ++closes; });
  }
  AppEnvironment env;
  shelltest::ScriptedMessageFacade facade;
  int closes = 0;
};

TEST_F(LanguageSwitchTest, TheConfiguredLanguageAsksNothing) {
  Switch(1);
  EXPECT_TRUE(facade.asked.empty());
  EXPECT_EQ(closes, 0);
  EXPECT_EQ(env.Config.Lang, 1);
}

TEST_F(LanguageSwitchTest, YesClosesAndStoresTheLanguageForTheNextStart) {
  facade.answers = {kIdYes};
  Switch(2);
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Text, L"Orvisto Editor will now exit in order to change options");
  EXPECT_EQ(facade.asked[0].Buttons, MessageButtons::YesNo);
  EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Asterisk);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(env.Config.Lang, 2);
  EXPECT_EQ(env.Language(), 1);  // the running language stays
}

TEST_F(LanguageSwitchTest, NoOrClosedBoxChangesNothing) {
  facade.answers = {kIdNo, kIdCancel};
  Switch(2);
  Switch(2);
  EXPECT_EQ(closes, 0);
  EXPECT_EQ(env.Config.Lang, 1);
}

TEST_F(LanguageSwitchTest, DisabledWhileAJobOwnsThePort) {
  facade.answers = {kIdYes};
  for (int state : {CommOpeningCommand, CommCommandRequested, CommCommand, CommLeavingCommand, CommCommandInOnline,
                    CommReturningOnline}) {
    env.CommState = state;
    Switch(2);
  }
  EXPECT_TRUE(facade.asked.empty());
  EXPECT_EQ(env.Config.Lang, 1);
}

}  // namespace
}  // namespace Brenno

#include <gtest/gtest.h>

#include "DataTestSupport.h"
#include "Exception.h"
#include "GraphicDefs.h"
#include "SkinPlace.h"
#include "StageDefLoader.h"
#include "StageDefs.h"
#include "TextEncoding.h"

namespace {

class TPlainDef : public TGraphicDef {
 public:
  void Draw(const TDrawable*, TSXScene*) override {}
};

class StageDefsTest : public ::testing::Test {
 protected:
  StageDefsTest() : graphics_(nullptr), stages_(&graphics_) {
    graphics_.Add("bot", bot_ = new TPlainDef);
    graphics_.Add("boss", boss_ = new TPlainDef);
    place_.SkinDir = dir_.Dir() + "skin/morv/";
    place_.SystemSkinDir = dir_.Dir() + "skin/system/";
  }

  bool Load(const std::string& Xml) {
    datatest::WriteFile(dir_.Path() / "skin/morv/xml/stagedef.xml", Xml);
    return stages_.Reload(place_);
  }
  std::string LoadError(const std::string& Xml) {
    try {
      Load(Xml);
    } catch (const Exception& e) {
      return e.Message();
    }
    return "no exception";
  }
  // The entries of a stage in list order.
  static std::vector<TStageObjectDef*> Entries(const TStageDef* Stage) {
    std::vector<TStageObjectDef*> entries;
    for (TStageObjectDef* e = Stage->First(); e != nullptr; e = e->Next()) entries.push_back(e);
    return entries;
  }
  static TEnemyDef* Enemy(TStageObjectDef* Entry) {
    EXPECT_EQ(Entry->Kind, okEnemy);
    return static_cast<TEnemyDef*>(Entry);
  }

  datatest::TTempDir dir_;
  TGraphicDefList graphics_;
  TStageDefList stages_;
  TSkinPlace place_;
  TPlainDef* bot_ = nullptr;
  TPlainDef* boss_ = nullptr;
};

}  // namespace

TEST_F(StageDefsTest, EntriesAreOrderedByFrameAndEqualFramesKeepDocumentOrder) {
  ASSERT_TRUE(Load(R"(<stages><stage>
      <enemy frame="50" y="1"/>
      <enemy frame="10" y="2"/>
      <restartpoint frame="50"/>
      <enemy><frame>50</frame><y>3</y></enemy>
      <enemy frame="0" y="4"/>
    </stage></stages>)"));
  ASSERT_EQ(stages_.Count(), 1);
  std::vector<TStageObjectDef*> e = Entries(stages_.First());
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(Enemy(e[0])->Y, 4);
  EXPECT_EQ(Enemy(e[1])->Y, 2);
  EXPECT_EQ(Enemy(e[2])->Y, 1);
  EXPECT_EQ(e[3]->Kind, okRestartPoint);
  EXPECT_EQ(e[3]->Frame, 50u);
  EXPECT_EQ(Enemy(e[4])->Y, 3);

  const TStageDef* stage = stages_.First();
  EXPECT_EQ(stage->FindFrom(0), stage->First());
  EXPECT_EQ(stage->FindFrom(11), e[2]);
  EXPECT_EQ(stage->FindFrom(50), e[2]);
  EXPECT_EQ(stage->FindFrom(51), nullptr);
  EXPECT_EQ(stage->Title, "STAGE1");

  // Added one at a time out of order, as a program building a stage does: each goes before the first entry of a
  // greater frame, after those of its own.
  TStageDef built;
  auto add = [&built](uint32_t Frame) {
    auto* entry = new TRestartPointDef;
    entry->Frame = Frame;
    built.AddObject(entry);
    return static_cast<TStageObjectDef*>(entry);
  };
  TStageObjectDef* first50 = add(50);
  TStageObjectDef* at60 = add(60);
  TStageObjectDef* second50 = add(50);
  EXPECT_EQ(Entries(&built), (std::vector<TStageObjectDef*>{first50, second50, at60}));
}

TEST_F(StageDefsTest, EnemyDefaultsAndOwnValues) {
  ASSERT_TRUE(Load(R"(<r><stage title="first"/><stage>
      <enemy frame="5"/>
      <enemy frame="6" x="-20" y="$10" motion="zigzag2" graphic="BOSS" hp="1,000" stageclear="TRUE"
             item="powerup" speed="0x3"/>
    </stage></r>)"));
  ASSERT_EQ(stages_.Count(), 2);
  EXPECT_EQ(stages_.First()->Title, "first");
  EXPECT_EQ(stages_.First()->First(), nullptr);
  const TStageDef* stage = stages_.Last();
  EXPECT_EQ(stage->Title, "STAGE2");  // numbered by its place in the list
  EXPECT_TRUE(stage->GroupSizes.empty());
  std::vector<TStageObjectDef*> e = Entries(stage);
  ASSERT_EQ(e.size(), 2u);
  TEnemyDef* plain = Enemy(e[0]);
  EXPECT_EQ(plain->Frame, 5u);
  EXPECT_EQ(plain->Group, -1);
  EXPECT_EQ(plain->X, 800);
  EXPECT_EQ(plain->Y, 0);
  EXPECT_EQ(plain->Motion, mtStraight);
  EXPECT_EQ(plain->Graphic, bot_);
  EXPECT_EQ(plain->HP, 1);
  EXPECT_FALSE(plain->StageClear);
  EXPECT_EQ(plain->Item, ikNone);
  EXPECT_EQ(plain->Speed, 5);
  TEnemyDef* own = Enemy(e[1]);
  EXPECT_EQ(own->X, -20);
  EXPECT_EQ(own->Y, 16);
  EXPECT_EQ(own->Motion, mtZigzag2);
  EXPECT_EQ(own->Graphic, boss_);  // ids ignore letter case
  EXPECT_EQ(own->HP, 1000);
  EXPECT_TRUE(own->StageClear);
  EXPECT_EQ(own->Item, ikPowerUp);
  EXPECT_EQ(own->Speed, 3);
}

TEST_F(StageDefsTest, GroupsOffsetFramesAndLendTheirValues) {
  ASSERT_TRUE(Load(R"(<r><stage>
      <enemy frame="105"/>
      <group frame="100" x="700" graphic="boss" stageclear="true" item="powerup" speed="9">
        <enemy frame="0"/>
        <enemy frame="10" x="650" speed="2"/>
        <enemy frame="20" item="none"/>
        <restartpoint frame="7"/>
      </group>
    </stage></r>)"));
  const TStageDef* stage = stages_.First();
  ASSERT_EQ(stage->GroupSizes, std::vector<int32_t>({3}));
  std::vector<TStageObjectDef*> e = Entries(stage);
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0]->Kind, okRestartPoint);  // a grouped restart point keeps its own frame
  EXPECT_EQ(e[0]->Frame, 7u);
  TEnemyDef* first = Enemy(e[1]);
  EXPECT_EQ(first->Frame, 100u);
  EXPECT_EQ(first->Group, 0);
  EXPECT_EQ(first->X, 700);
  EXPECT_EQ(first->Graphic, boss_);
  EXPECT_FALSE(first->StageClear);  // never taken from the group
  EXPECT_EQ(first->Item, ikPowerUp);
  EXPECT_EQ(first->Speed, 9);
  EXPECT_EQ(Enemy(e[2])->Group, -1);  // the ungrouped enemy at 105
  EXPECT_EQ(Enemy(e[2])->X, 800);
  TEnemyDef* second = Enemy(e[3]);
  EXPECT_EQ(second->Frame, 110u);
  EXPECT_EQ(second->X, 650);
  EXPECT_EQ(second->Speed, 2);
  TEnemyDef* third = Enemy(e[4]);
  EXPECT_EQ(third->Frame, 120u);
  EXPECT_EQ(third->Group, 0);
  EXPECT_EQ(third->Item, ikNone);
}

TEST_F(StageDefsTest, NestedGroupsCountTowardsTheLatestGroup) {
  ASSERT_TRUE(Load(R"(<r><stage>
      <group frame="0"><enemy frame="1"/>
        <group frame="10"><enemy frame="2"/></group>
        <enemy frame="3"/>
      </group>
      <group frame="20"><enemy frame="4"/></group>
    </stage><stage><group frame="0"><enemy frame="0"/></group></stage></r>)"));
  const TStageDef* stage = stages_.First();
  EXPECT_EQ(stage->GroupSizes, std::vector<int32_t>({1, 2, 1}));
  std::vector<TStageObjectDef*> e = Entries(stage);
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(Enemy(e[0])->Group, 0);
  EXPECT_EQ(Enemy(e[1])->Group, 1);  // frame 3: back in the outer group, yet counted to group 1
  EXPECT_EQ(Enemy(e[1])->Frame, 3u);
  EXPECT_EQ(Enemy(e[2])->Group, 1);
  EXPECT_EQ(Enemy(e[2])->Frame, 12u);
  EXPECT_EQ(Enemy(e[3])->Group, 2);
  EXPECT_EQ(Enemy(e[3])->Frame, 24u);
  // Group indices start again in every stage.
  EXPECT_EQ(stages_.Last()->GroupSizes, std::vector<int32_t>({1}));
  EXPECT_EQ(Enemy(stages_.Last()->First())->Group, 0);
}

TEST_F(StageDefsTest, MotionAndItemNames) {
  const char* names[] = {"straight", "sturn1", "sturn2", "cturn1", "cturn2", "zigzag1", "zigzag2", "boss1"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(MotionFromName(names[i]), i);
  EXPECT_EQ(MotionFromName("Zigzag1"), mtStraight);
  EXPECT_EQ(MotionFromName("loop"), mtStraight);
  EXPECT_EQ(MotionFromName(""), mtStraight);
  EXPECT_EQ(ItemFromName("powerup"), ikPowerUp);
  EXPECT_EQ(ItemFromName("PowerUp"), ikNone);
  EXPECT_EQ(ItemFromName("none"), ikNone);
}

TEST_F(StageDefsTest, ZeroStagesNoChildrenAndNoFile) {
  EXPECT_FALSE(stages_.Reload(place_));  // no stagedef.xml
  EXPECT_TRUE(Load("<r><!-- nothing yet --><level/></r>"));
  EXPECT_EQ(stages_.Count(), 0);
  EXPECT_FALSE(Load("<r>\n  \n</r>"));
  EXPECT_FALSE(Load("<r/>"));
  EXPECT_EQ(stages_.First(), nullptr);
}

TEST_F(StageDefsTest, FailuresRaiseTheirMessagesAndKeepEarlierStages) {
  EXPECT_EQ(LoadError("<r><stage><restartpoint/></stage></r>"), "frame");
  EXPECT_EQ(LoadError("<r><stage><enemy x='1'/></stage></r>"), "frame");
  EXPECT_EQ(LoadError("<r><stage><group><enemy frame='1'/></group></stage></r>"), "frame");
  EXPECT_EQ(LoadError("<r><stage><enemy frame='1' graphic='ufo'/></stage></r>"),
            Jp("\"ufo\"は定義されていないグラフィックIDです"));
  EXPECT_EQ(LoadError("<r><stage><enemy frame='1' graphic=''/></stage></r>"), Jp("空のグラフィックIDは指定できません"));
  EXPECT_EQ(LoadError("<r><stage><enemy frame='1' x='left'/></stage></r>"), Jp("\"left\" は整数に変換できません"));
  EXPECT_EQ(LoadError("<r><stage><enemy frame='1' stageclear='yes'/></stage></r>"),
            Jp("\"yes\" は真偽値に変換できません"));
  EXPECT_EQ(LoadError("<r><stage><enemy frame='1' hp='2147483648'/></stage></r>"),
            Jp("\"2147483648\" は整数の範囲を超えています"));
  EXPECT_EQ(LoadError("<r><stage><enemy frame='1'><x/></enemy></stage></r>"), Jp("値が空です: x"));
  // Speeds and places past their budgets are out of range, from the enemy or from its group.
  EXPECT_EQ(LoadError("<r><stage><enemy frame='1' speed='-2147483648'/></stage></r>"),
            Jp("\"-2147483648\" は整数の範囲を超えています"));
  EXPECT_EQ(LoadError("<r><stage><group frame='0' speed='1001'><enemy frame='1'/></group></stage></r>"),
            Jp("\"1001\" は整数の範囲を超えています"));
  EXPECT_EQ(LoadError("<r><stage><enemy frame='1' y='-100001'/></stage></r>"),
            Jp("\"-100001\" は整数の範囲を超えています"));
  EXPECT_TRUE(Load("<r><stage><enemy frame='1' speed='-1000' x='100000' y='-100000'/></stage></r>"));

  // The stage being built is dropped; the ones before it stay.
  EXPECT_EQ(LoadError("<r><stage title='ok'><enemy frame='1'/></stage><stage><enemy/></stage></r>"), "frame");
  ASSERT_EQ(stages_.Count(), 1);
  EXPECT_EQ(stages_.First()->Title, "ok");

  std::string message = LoadError("<r><stage><enemy frame='1'></stage></r>");
  EXPECT_NE(message.find("stagedef.xml"), std::string::npos) << message;
}

// A stage at its entry budget loads in frame order whatever the document's order (equal frames in document
// order); one entry more is refused. Built here rather than committed: about 2 MB of XML.
TEST_F(StageDefsTest, AStageHoldsUpTo100000EntriesSortedOnce) {
  std::string xml = "<r><stage>";
  for (int i = 0; i < 100000; ++i) {
    xml += i % 2 ? "<restartpoint frame='" + std::to_string(99999 - i) + "'/>"
                 : "<enemy frame='" + std::to_string((99999 - i) / 2) + "'/>";
  }
  ASSERT_TRUE(Load(xml + "</stage></r>"));
  uint32_t previous = 0, count = 0;
  TStageObjectDef* before = nullptr;
  for (TStageObjectDef* e = stages_.First()->First(); e != nullptr; before = e, e = e->Next(), ++count) {
    ASSERT_GE(e->Frame, previous);
    // Frames shared by an enemy and a restart point: the enemy came first in the document.
    if (before != nullptr && before->Frame == e->Frame) {
      ASSERT_EQ(before->Kind, okEnemy) << e->Frame;
    }
    previous = e->Frame;
  }
  EXPECT_EQ(count, 100000u);
  EXPECT_EQ(LoadError(xml + "<restartpoint frame='1'/></stage></r>"),
            Jp("ステージのエントリが多すぎます (上限 100000)"));
}

TEST_F(StageDefsTest, ShiftJisTitlesReachTheGameAsCP932) {
  std::string title = Jp("ステージ～１");
  ASSERT_TRUE(Load("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r><stage><title>" + title + "</title></stage></r>"));
  EXPECT_EQ(stages_.First()->Title, title);
}

TEST_F(StageDefsTest, StageListLinksAndDeletes) {
  auto* a = new TStageDef;
  auto* b = new TStageDef;
  auto* c = new TStageDef;
  stages_.Add(a);
  stages_.Add(b);
  stages_.Add(c);
  EXPECT_EQ(a->Next(), b);
  EXPECT_EQ(c->Prev(), b);
  stages_.Delete(b);
  EXPECT_EQ(a->Next(), c);
  EXPECT_EQ(c->Prev(), a);
  stages_.Delete(a);
  EXPECT_EQ(stages_.First(), c);
  EXPECT_EQ(c->Prev(), nullptr);
  stages_.Delete(nullptr);
  EXPECT_EQ(stages_.Count(), 1);
  stages_.Clear();
  EXPECT_EQ(stages_.Last(), nullptr);
  EXPECT_EQ(stages_.Count(), 0);
}

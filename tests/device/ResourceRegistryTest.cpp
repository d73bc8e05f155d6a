#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceTestSupport.h"
#include "TObject.h"

namespace {

using devicetest::DeviceTest;

// A device resource that records which of its handlers ran and unregisters when destroyed.
class TProbe : public TObject {
 public:
  TProbe(TVUDader& Device, std::string Name, std::vector<std::string>& Calls, bool WithRelease = true)
      : device_(Device), name_(std::move(Name)), calls_(Calls) {
    id_ = Device.RegisterResource(
        this, name_, WithRelease ? TDGResourceHandler([this] { Record("release"); }) : nullptr,
        [this] { Record("rebuild"); }, [this] { Record("before"); }, [this] { Record("after"); });
  }
  ~TProbe() override {
    calls_.push_back(name_ + ":destroyed");
    device_.UnregisterResource(id_);
  }
  int32_t id() const { return id_; }

 private:
  void Record(const char* What) { calls_.push_back(name_ + ":" + What); }
  TVUDader& device_;
  std::string name_;
  std::vector<std::string>& calls_;
  int32_t id_;
};

class ResourceRegistryTest : public DeviceTest {};

TEST_F(ResourceRegistryTest, IdsCountUpAndAreNeverReused) {
  TVUDader& dg = StartDevice();
  std::vector<std::string> calls;
  auto* a = new TProbe(dg, "a", calls);
  auto* b = new TProbe(dg, "b", calls);
  auto* c = new TProbe(dg, "c", calls);
  EXPECT_EQ(a->id(), 0);
  EXPECT_EQ(b->id(), 1);
  EXPECT_EQ(c->id(), 2);
  delete b;
  EXPECT_FALSE(dg.Resources().IsRegistered(1));
  auto* d = new TProbe(dg, "d", calls);
  EXPECT_EQ(d->id(), 3);
  EXPECT_EQ(dg.Resources().Count(), 3);
  EXPECT_GE(FindLine("VUDaderリソース(TProbe)を登録します ID は 3(d) です"), 0);
  EXPECT_GE(FindLine("VUDaderリソース(TProbe) : ID 1(b) を登録解除します"), 0);
  delete a;
  delete c;
  delete d;
  EXPECT_EQ(halts_, 0);
}

TEST_F(ResourceRegistryTest, HandlersRunInRegistrationOrderAndEmptyOnesAreSkipped) {
  TVUDader& dg = StartDevice();
  std::vector<std::string> calls;
  auto* first = new TProbe(dg, "first", calls, /*withRelease=*/false);
  auto* second = new TProbe(dg, "second", calls);
  dg.ReleaseAllResources();
  dg.RebuildAllResources();
  EXPECT_EQ(calls, (std::vector<std::string>{"second:release", "first:rebuild", "second:rebuild"}));
  delete second;
  delete first;
}

TEST_F(ResourceRegistryTest, RecreatingTheDeviceReleasesAllThenRebuildsAllOnTheNewDevice) {
  TVUDader& dg = StartDevice();
  std::vector<std::string> calls;
  auto* a = new TProbe(dg, "a", calls);
  auto* b = new TProbe(dg, "b", calls);
  const int from = int(LogLines().size());
  SetWindowMode800();
  EXPECT_EQ(calls, (std::vector<std::string>{"a:release", "b:release", "a:rebuild", "b:rebuild"}));
  const int release = FindLine("全てのVUDaderリソースを解放します", from);
  const int create = FindLine("Direct3DDeviceオブジェクトの生成を行います", release);
  const int rebuild = FindLine("全てのVUDaderリソースを再構築します", create);
  EXPECT_LT(release, create);
  EXPECT_LT(create, rebuild);
  delete a;
  delete b;
}

TEST_F(ResourceRegistryTest, UnregisteringAnUnknownIdIsReportedAndIgnored) {
  TVUDader& dg = StartDevice();
  std::vector<std::string> calls;
  auto* a = new TProbe(dg, "a", calls);
  dg.UnregisterResource(a->id());
  dg.UnregisterResource(a->id());
  EXPECT_GE(FindLine("リストに入ってないVUDaderリソース(ID:0)が、UnregisterResource手続きに渡されました"
                     "(Error Code = UNKNOWN ERROR ... $00000001)"),
            0);
  EXPECT_EQ(dg.Resources().Count(), 0);
  delete a;  // its own unregistering is the third, also reported
  EXPECT_EQ(CountLines("リストに入ってないVUDaderリソース(ID:0)が、UnregisterResource手続きに渡されました"
                       "(Error Code = UNKNOWN ERROR ... $00000001)"),
            2);
}

TEST_F(ResourceRegistryTest, UnknownIdHaltsUnderHaltOnError) {
  TVUDader& dg = StartDevice({dgoHaltOnError});
  dg.UnregisterResource(42);
  EXPECT_EQ(halts_, 1);
  EXPECT_FALSE(LogExists());
}

TEST_F(ResourceRegistryTest, TeardownFreesResourcesStillRegistered) {
  TVUDader& dg = StartDevice();
  std::vector<std::string> calls;
  new TProbe(dg, "left", calls);
  new TProbe(dg, "over", calls);
  DestroyDevice();
  // Entries are freed before the device is released, so no handler runs at teardown.
  EXPECT_EQ(calls, (std::vector<std::string>{"left:destroyed", "over:destroyed"}));
  const int farewell = FindLine("■■■お別れの時がやってまいりました■■■");
  const int left = FindLine("ID 0(left) のVUDaderリソースは、明示的に解放されていません", farewell);
  const int over = FindLine("ID 1(over) のVUDaderリソースは、明示的に解放されていません", left);
  EXPECT_GT(left, farewell);
  EXPECT_GT(over, left);
  EXPECT_GE(FindLine("■■■それではごきげんよう■■■", over), 0);
}

// An owner that forgets to unregister must not keep the teardown loop going for ever.
class TForgetful : public TObject {
 public:
  explicit TForgetful(TVUDader& Device) {
    Device.RegisterResource(this, "forgetful", nullptr, nullptr, nullptr, nullptr);
  }
};

TEST_F(ResourceRegistryTest, TeardownEndsEvenWhenAnOwnerDoesNotUnregister) {
  TVUDader& dg = StartDevice();
  new TForgetful(dg);
  DestroyDevice();
  EXPECT_GE(FindLine("■■■それではごきげんよう■■■"), 0);
}

}  // namespace

// The view base: defaults, resolution rules and change listeners.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "imaging/core/ie_view.h"
#include "imaging/core/engine_settings.h"
#include "imaging/core/system_colors.h"

namespace quillet {
namespace {

class TestView : public TIEView {
 public:
  void LockPaint() override {}
  void UnlockPaint() override {}
  void UnlockPaintNoUpdate() override {}
};

using Calls = std::vector<std::pair<int, int>>;  // (listener, kind)

TEST(IEView, StartsWithTheButtonFaceAndTheScreenResolution) {
  TestView v;
  EXPECT_EQ(v.Background(), ViewSystemColors().ButtonFace);
  EXPECT_EQ(v.DpiX(), StartupMetrics().DpiX);
  v.SetDpi(300, 0);
  EXPECT_EQ(v.DpiX(), 300);
  EXPECT_EQ(v.DpiY(), StartupMetrics().DpiY);
  v.SetDpiY(-72);
  v.SetDpiX(0);
  EXPECT_EQ(v.DpiX(), 300);
  EXPECT_EQ(v.DpiY(), StartupMetrics().DpiY);
}

TEST(IEView, ListenersHearChangesAndTheEnd) {
  Calls calls;
  int a = 0, b = 0;
  {
    TestView v;
    v.AddChangeListener([&](TIEView* view, int kind) { calls.push_back({1, kind}); EXPECT_EQ(view, &v); }, &a);
    v.AddChangeListener([&](TIEView*, int kind) { calls.push_back({2, kind}); }, &b);
    v.AddChangeListener([&](TIEView*, int kind) { calls.push_back({3, kind}); }, &a);
    v.NotifyChange();
    v.RemoveChangeListener(&a);  // the first record of that owner only
    v.RemoveChangeListener(&calls);
    EXPECT_EQ(v.ChangeListenerCount(), 2);
  }
  EXPECT_EQ(calls, (Calls{{1, 0}, {2, 0}, {3, 0}, {2, 1}, {3, 1}}));
}

TEST(IEView, ListenersMayDetachOthersWhileBeingCalled) {
  auto v = std::make_unique<TestView>();
  Calls calls;
  int first = 0, second = 0, third = 0;
  v->AddChangeListener(
      [&](TIEView* view, int kind) {
        calls.push_back({1, kind});
        view->RemoveChangeListener(&first);
        view->RemoveChangeListener(&second);
        view->AddChangeListener([&](TIEView*, int k) { calls.push_back({4, k}); }, &calls);
      },
      &first);
  v->AddChangeListener([&](TIEView*, int kind) { calls.push_back({2, kind}); }, &second);
  v->AddChangeListener([&](TIEView*, int kind) { calls.push_back({3, kind}); }, &third);
  v->NotifyChange();
  EXPECT_EQ(calls, (Calls{{1, 0}, {3, 0}, {4, 0}}));
  EXPECT_EQ(v->ChangeListenerCount(), 2);
  calls.clear();
  v->NotifyDestruction();
  v.reset();  // told once only
  EXPECT_EQ(calls, (Calls{{3, 1}, {4, 1}}));
}

}  // namespace
}  // namespace quillet

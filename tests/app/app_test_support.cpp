#include "app_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/core/scope_exit.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"
#include "platform/ui/application.h"
#include "platform/ui/timer.h"

namespace fs = std::filesystem;

TempWorkingDir::TempWorkingDir(bool withDatabase) {
  previous_ = fs::current_path();
  std::string pattern = (fs::temp_directory_path() / "quillon-app-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory");
  dir_ = pattern;
  if (withDatabase) fs::copy_file(QUILLON_SAMPLE_MDB, dir_ / "ADR.mdb");
  fs::current_path(dir_);
}

TempWorkingDir::~TempWorkingDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::remove_all(dir_, ec);
}

MessageBoxRecorder::MessageBoxRecorder(std::function<std::string()> snapshot)
    : snapshot_(std::move(snapshot)) {
  SetMessageBoxHook([this](const std::string& text, const std::string& caption, int flags) {
    Boxes.push_back({text, caption, flags, snapshot_ ? snapshot_() : ""});
    return int(IDOK);
  });
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHook(nullptr); }

void ClickControl(TControl* control) {
  TCustomForm* form = control->GetParentForm();
  ASSERT_NE(form, nullptr);
  TPoint at = control->ClientToForm({control->ClientWidth() / 2, control->ClientHeight() / 2});
  form->HandleMouse(mmMove, mbLeft, at, {});
  form->HandleMouse(mmDown, mbLeft, at, {ssLeft});
  form->HandleMouse(mmUp, mbLeft, at, {});
}

std::vector<std::string> ColumnValues(TDataSet* dataSet, const std::string& field) {
  std::vector<std::string> values;
  for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
    values.push_back(dataSet->FieldByName(field)->AsString());
  dataSet->First();
  return values;
}

struct ScriptDriver::Slot {
  std::unique_ptr<TTimer> timer;
  bool busy = false;  // its step is running (perhaps inside a modal loop it opened)
};

ScriptDriver::ScriptDriver() = default;
ScriptDriver::~ScriptDriver() = default;

void ScriptDriver::Add(std::string name, std::function<bool()> ready, std::function<void()> act) {
  steps_.push_back({std::move(name), std::move(ready), std::move(act)});
}

void ScriptDriver::Start() { arm(); }

void ScriptDriver::arm() {
  for (auto& slot : slots_)
    if (!slot->busy && !slot->timer->Enabled()) {
      slot->timer->SetEnabled(true);
      return;
    }
  auto slot = std::make_unique<Slot>();
  Slot* raw = slot.get();
  raw->timer = std::make_unique<TTimer>(nullptr);
  raw->timer->SetEnabled(false);
  raw->timer->SetInterval(1);
  raw->timer->OnTimer = [this, raw](TObject*) { tick(*raw); };
  slots_.push_back(std::move(slot));
  raw->timer->SetEnabled(true);
}

void ScriptDriver::giveUp(const std::string& why) {
  ADD_FAILURE() << why;
  next_ = steps_.size();
  gaveUp_ = true;
  if (Application) Application->Terminate();
}

void ScriptDriver::tick(Slot& slot) {
  slot.timer->SetEnabled(false);
  if (Finished()) {
    // The last step should have ended the program; if it still runs, end it.
    if (!gaveUp_ && Application && ++waits_ > kMaxWaits) giveUp("the program did not end after the script");
    if (!gaveUp_ && Application) arm();
    return;
  }
  slot.busy = true;
  ScopeExit release([&slot] { slot.busy = false; });
  // Armed before the step runs: a step that opens a modal window blocks in its loop, and the
  // next tick has to come from another timer.
  arm();
  Step& step = steps_[next_];
  if (step.ready && !step.ready()) {
    // A state that never comes would leave the program waiting for input: give up and end it.
    if (++waits_ > kMaxWaits) giveUp("the script waited in vain before step: " + step.name);
    return;
  }
  waits_ = 0;
  ++next_;
  const std::string name = step.name;
  try {
    step.act();
  } catch (const std::exception& e) {
    giveUp("step " + name + " raised: " + e.what());
  }
}

#pragma once
// What the application tests share: a working directory holding the sample ADR.mdb, a
// recorder of message boxes, synthetic clicks, and a script driver that feeds input to the
// program while its modal loops run.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/form.h"

class TTimer;
class TDataSet;

// Makes a fresh temporary directory the working directory for the object's lifetime; with
// withDatabase it holds a copy of the sample database as ADR.mdb.
class TempWorkingDir {
 public:
  explicit TempWorkingDir(bool withDatabase);
  ~TempWorkingDir();
  const std::filesystem::path& Path() const { return dir_; }

 private:
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

// Every message box while it lives: answered with OK, recorded with what `snapshot` says about
// the window at that moment.
struct ShownBox {
  std::string Text, Caption;
  int Flags = 0;
  std::string State;
};
class MessageBoxRecorder {
 public:
  explicit MessageBoxRecorder(std::function<std::string()> snapshot = nullptr);
  ~MessageBoxRecorder();
  std::vector<ShownBox> Boxes;

 private:
  std::function<std::string()> snapshot_;
};

// A left click in the middle of a control, through its form's input entry point.
void ClickControl(TControl* control);

// The values of one field over every record of a data set, in record order; the cursor comes
// back to the first record.
std::vector<std::string> ColumnValues(TDataSet* dataSet, const std::string& field);

// Runs a list of steps from window timers, so they happen inside whatever message loop is
// running (the program's or a modal window's). A step runs once its `ready` check holds; a step
// that opens a modal window blocks, and the next step then runs inside that window's loop.
class ScriptDriver {
 public:
  ScriptDriver();
  ~ScriptDriver();
  void Add(std::string name, std::function<bool()> ready, std::function<void()> act);
  void Start();
  bool Finished() const { return next_ >= steps_.size(); }
  // The first step that has not run ("" when all have).
  std::string Pending() const { return Finished() ? "" : steps_[next_].name; }

 private:
  struct Step {
    std::string name;
    std::function<bool()> ready;
    std::function<void()> act;
  };
  struct Slot;
  void arm();
  void tick(Slot& slot);
  // Fails the test and ends the program, so a broken script cannot leave it waiting.
  void giveUp(const std::string& why);
  static constexpr int kMaxWaits = 20000;  // ticks a step may wait for its state

  std::vector<Step> steps_;
  size_t next_ = 0;
  int waits_ = 0;  // ticks the current step has waited for
  bool gaveUp_ = false;
  std::vector<std::unique_ptr<Slot>> slots_;
};

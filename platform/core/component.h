#pragma once
// TComponent: the owned, named building block of forms and data modules.
//
// Ownership: a component created with an owner is freed by that owner, in reverse order of
// creation. Deleting an owned component yourself is fine: it leaves its owner's list first.
// Loading: a form builds its components between BeginLoading() and EndLoading(); EndLoading
// runs Loaded() once for the owner and every owned component, in creation order, so rules that
// apply "after loading" see every stored property at once.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <functional>

// The root of everything that can be an event's sender.
class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TOperation { opInsert, opRemove };

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string AName) { name_ = std::move(AName); }

  int ComponentCount() const { return static_cast<int>(owned_.size()); }
  TComponent* Components(int index) const { return owned_[index].get(); }
  // Case-insensitive, as component names are.
  TComponent* FindComponent(std::string_view AName) const;

  bool IsLoading() const { return loading_; }
  bool IsDestroying() const { return destroying_; }
  // Design-time state never occurs in this program; kept so "not at design time" rules read
  // as they are written.
  bool IsDesigning() const { return false; }

  void BeginLoading();
  void EndLoading();

  // Told when a component this one refers to goes away (see FreeNotification).
  virtual void Notification(TComponent* AComponent, TOperation Operation) {}
  // Ask to be told (Notification opRemove) when AComponent is destroyed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

 protected:
  virtual void Loaded() { loading_ = false; }
  // Called first thing in the most-derived destructor chain's base; sets IsDestroying().
  void Destroying() { destroying_ = true; }

 private:
  void takeOwnership(TComponent* child);
  void releaseOwnership(TComponent* child);

  TComponent* owner_ = nullptr;                     // non-owning; frees this component
  std::string name_;
  std::vector<std::unique_ptr<TComponent>> owned_;  // creation order
  std::vector<TComponent*> freeNotifies_;           // both directions, non-owning
  bool loading_ = false;
  bool destroying_ = false;
};

#include "platform/core/component.h"

#include <algorithm>

#include "platform/core/utf8.h"

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner) {
  if (owner_) {
    owner_->takeOwnership(this);
    loading_ = owner_->loading_;  // created while its form loads: loads with it
  }
}

TComponent::~TComponent() {
  destroying_ = true;
  // Tell everyone who asked, then forget them (both directions).
  auto notifies = std::move(freeNotifies_);
  for (TComponent* other : notifies) {
    auto& list = other->freeNotifies_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    other->Notification(this, opRemove);
  }
  // Free owned components, newest first.
  while (!owned_.empty()) {
    std::unique_ptr<TComponent> last = std::move(owned_.back());
    owned_.pop_back();
    last->owner_ = nullptr;
    last.reset();
  }
  if (owner_) owner_->releaseOwnership(this);
}

void TComponent::takeOwnership(TComponent* child) { owned_.emplace_back(child); }

void TComponent::releaseOwnership(TComponent* child) {
  for (auto it = owned_.begin(); it != owned_.end(); ++it) {
    if (it->get() == child) {
      it->release();  // the child is being deleted by someone else
      owned_.erase(it);
      return;
    }
  }
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  std::string wanted = AnsiUpperCase(AName);
  for (const auto& c : owned_)
    if (AnsiUpperCase(c->Name()) == wanted) return c.get();
  return nullptr;
}

void TComponent::BeginLoading() {
  loading_ = true;
  for (const auto& c : owned_) c->loading_ = true;
}

void TComponent::EndLoading() {
  // Owned components first (creation order), then the owner, as a form reader does.
  for (size_t i = 0; i < owned_.size(); ++i)
    if (owned_[i]->loading_) owned_[i]->Loaded();
  if (loading_) Loaded();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
    freeNotifies_.push_back(AComponent);
  auto& theirs = AComponent->freeNotifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), AComponent),
                      freeNotifies_.end());
  auto& theirs = AComponent->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

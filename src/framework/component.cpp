#include "framework/component.h"

#include <algorithm>

namespace framework {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) {
        owner_->InsertComponent(this);
        if (owner_->Loading()) state_ |= csLoading | csReading;
    }
}

TComponent::~TComponent() {
    MarkDestroying();
    DestroyComponents();
    // Tell everyone that asked to know.
    auto notifies = std::move(freeNotifies_);
    for (TComponent* c : notifies) {
        auto& back = c->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        c->Notification(this, TOperation::opRemove);
    }
    if (owner_) {
        owner_->RemoveComponent(this);
        if (!owner_->Destroying()) owner_->Notification(this, TOperation::opRemove);
    }
}

void TComponent::MarkDestroying() {
    state_ |= csDestroying;
    for (TComponent* c : components_) c->MarkDestroying();
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;  // its destructor removes it from our list
    }
}

void TComponent::InsertComponent(TComponent* c) { components_.push_back(c); }

void TComponent::RemoveComponent(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_)
        if (c->name_ == name) return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::BeginLoading() {
    state_ |= csLoading | csReading;
    for (TComponent* c : components_) c->BeginLoading();
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) RemoveFreeNotification(component);
}

}  // namespace framework

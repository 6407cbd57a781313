#include "accessdb/classlib/TComponent.h"

#include <algorithm>

namespace accessdb {
namespace {

void erase(std::vector<TComponent*>& list, TComponent* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

} // namespace

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_)
        owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Partners first, so none keeps a reference to this one.
    std::vector<TComponent*> partners = freeNotifies_;
    freeNotifies_.clear();
    for (TComponent* partner : partners) {
        erase(partner->freeNotifies_, this);
        partner->notification(this, Operation::Remove);
    }
    while (!components_.empty()) {
        TComponent* child = components_.back();
        delete child;
    }
    if (owner_)
        owner_->removeComponent(this);
}

void TComponent::removeComponent(TComponent* component) {
    erase(components_, component);
    component->owner_ = nullptr;
    if (destroying_)
        return;
    notification(component, Operation::Remove);
    for (TComponent* child : std::vector<TComponent*>(components_))
        child->notification(component, Operation::Remove);
}

void TComponent::notifyInserted() {
    if (!owner_)
        return;
    owner_->notification(this, Operation::Insert);
    for (TComponent* sibling : std::vector<TComponent*>(owner_->components_))
        if (sibling != this)
            sibling->notification(this, Operation::Insert);
}

void TComponent::freeNotification(TComponent* other) {
    if (!other || other == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::removeFreeNotification(TComponent* other) {
    erase(freeNotifies_, other);
    if (other)
        erase(other->freeNotifies_, this);
}

void TComponent::endLoading() {
    loading_ = false;
    loaded();
}

void TComponent::notification(TComponent*, Operation) {}

} // namespace accessdb

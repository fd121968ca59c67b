// Components: objects with an owner that destroys them, a name, a loading state, and
// notifications when a component they refer to goes away.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace framework {

enum TComponentStateFlag : unsigned { csLoading = 1, csReading = 2, csDestroying = 4 };
enum class TOperation { opInsert, opRemove };

class TComponent;
// The sender of events.
using TObject = TComponent;
using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    // Owned components are destroyed last created first.
    virtual ~TComponent();

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    unsigned ComponentState() const { return state_; }
    bool Loading() const { return (state_ & csLoading) != 0; }
    bool Destroying() const { return (state_ & csDestroying) != 0; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_[static_cast<size_t>(index)]; }
    TComponent* FindComponent(const std::string& name) const;

    // Asks for a Notification(this-other, opRemove) when `other` is destroyed, and tells
    // `other` the same about this component.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Marks this component and those it owns as being loaded from a description.
    void BeginLoading();
    // Called once the description has been applied; clears the loading state.
    virtual void Loaded();

    int Tag = 0;

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    // Sets the destroying state on this component and everything it owns.
    void MarkDestroying();
    // Destroys the owned components now, while the derived parts of the owner still exist.
    void DestroyComponents();

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_;
    std::string name_;
    unsigned state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// Creates a component of the given class owned by `owner` and named; the owner frees it.
template <class T, class... Args>
T* Create(TComponent* owner, const std::string& name, Args&&... args) {
    T* c = new T(owner, std::forward<Args>(args)...);
    c->SetName(name);
    return c;
}

}  // namespace framework

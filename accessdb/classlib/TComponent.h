#pragma once

#include <string>
#include <vector>

namespace accessdb {

enum class Operation { Insert, Remove };

// A non-visual component: it has an owner that frees it, owns the components it is the
// owner of, and tells interested components when it comes or goes.
class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* owner() const { return owner_; }
    const std::string& name() const { return name_; }
    virtual void setName(const std::string& name) { name_ = name; }
    const std::vector<TComponent*>& components() const { return components_; }

    // Asks to be told (Operation::Remove) when the other component goes.
    void freeNotification(TComponent* other);
    void removeFreeNotification(TComponent* other);

    bool loading() const { return loading_; }
    bool designing() const { return designing_; }
    bool destroying() const { return destroying_; }
    void setDesigning(bool designing) { designing_ = designing; }
    // Reading a component's stored properties runs between these two.
    void beginLoading() { loading_ = true; }
    void endLoading();

protected:
    // Sent to the owner's components and free-notification partners.
    virtual void notification(TComponent* component, Operation operation);
    // Called when loading ends.
    virtual void loaded() {}
    // The most-derived constructor announces the component to its owner's components.
    void notifyInserted();

private:
    void removeComponent(TComponent* component);

    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool loading_ = false;
    bool designing_ = false;
    bool destroying_ = false;
};

} // namespace accessdb

// Ownership, destruction order, removal notifications and the loading protocol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/component.h"
#include "framework_test_support.h"

namespace {

using namespace framework;

std::vector<std::string> g_events;

class Probe : public TComponent {
public:
    explicit Probe(TComponent* owner) : TComponent(owner) {}
    ~Probe() override { g_events.push_back("destroy " + Name()); }
    TComponent* watched = nullptr;
    void Watch(TComponent* c) {
        watched = c;
        c->FreeNotification(this);
    }
    void Loaded() override {
        g_events.push_back("loaded " + Name() + (Loading() ? " while loading" : ""));
        TComponent::Loaded();
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == watched) {
            g_events.push_back(Name() + " lost " + c->Name());
            watched = nullptr;
        }
    }
};

TEST(Component, OwnedComponentsAreDestroyedLastCreatedFirst) {
    g_events.clear();
    {
        Probe owner(nullptr);
        owner.SetName("owner");
        Create<Probe>(&owner, "a");
        Create<Probe>(&owner, "b");
        Create<Probe>(&owner, "c");
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.FindComponent("b")->Name(), "b");
        EXPECT_EQ(owner.FindComponent("missing"), nullptr);
    }
    EXPECT_EQ(g_events, (std::vector<std::string>{"destroy owner", "destroy c", "destroy b", "destroy a"}));
}

TEST(Component, DestroyingOneTellsThoseThatAskedAndLeavesTheOwnerConsistent) {
    g_events.clear();
    Probe owner(nullptr);
    auto* menu = Create<Probe>(&owner, "menu");
    auto* user = Create<Probe>(&owner, "user");
    user->Watch(menu);
    delete menu;
    EXPECT_EQ(user->watched, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(g_events, (std::vector<std::string>{"destroy menu", "user lost menu"}));
}

TEST(Component, AWatcherDestroyedFirstIsNotNotifiedLater) {
    g_events.clear();
    Probe owner(nullptr);
    auto* menu = Create<Probe>(&owner, "menu");
    auto* user = Create<Probe>(&owner, "user");
    user->Watch(menu);
    delete user;
    delete menu;  // must not call into the dead watcher (ASan would say so)
    EXPECT_EQ(g_events, (std::vector<std::string>{"destroy user", "destroy menu"}));
}

// A component that makes a part of its own when it is constructed, as an edit makes its button.
class ProbeWithPart : public Probe {
public:
    explicit ProbeWithPart(TComponent* owner) : Probe(owner) {
        part = new Probe(this);
        part->SetName("part");
    }
    Probe* part;
};

class DescribedProbeForm : public TDescribedForm {
public:
    using TDescribedForm::TDescribedForm;
    void BuildForm() override {
        g_events.push_back(std::string("build") + (Loading() ? " while loading" : ""));
        auto* a = Create<Probe>(this, "a");
        g_events.push_back(std::string("a created") + (a->Loading() ? " loading" : ""));
        Create<Probe>(this, "b");
        withPart = Create<ProbeWithPart>(this, "c");
        OnCreate = [](TObject*) { g_events.push_back("create handler"); };
    }
    ProbeWithPart* withPart = nullptr;
};

using LoadingProtocol = framework_testing::FrameworkTest;

TEST_F(LoadingProtocol, DescriptionIsAppliedWhileLoadingThenLoadedInOrderThenCreateHandler) {
    g_events.clear();
    DescribedProbeForm* form = nullptr;
    app->CreateForm(form);
    EXPECT_EQ(app->MainForm(), form);
    EXPECT_FALSE(form->Loading());
    EXPECT_EQ(g_events, (std::vector<std::string>{"build while loading", "a created loading", "loaded a while loading",
                                                  "loaded b while loading", "loaded c while loading",
                                                  "loaded part while loading", "create handler"}));
    EXPECT_FALSE(form->withPart->part->Loading()) << "a component's own parts finish loading too";
}

}  // namespace

#include "platform/ui/stacking.h"

#include <algorithm>

namespace qx::ui {

namespace {

int layerOf(const Control& control) {
    if (control.stackOnTop) return 3;
    if (control.kind() == Kind::Frame) return 0;
    return control.kind() == Kind::Label ? 1 : 2;
}

void stackHeldBy(const Form& form, const Control* holder, std::vector<const Control*>& order) {
    std::vector<const Control*> held;
    for (const Control* c : form.controls()) {
        if (HolderOf(*c) == holder) held.push_back(c);
    }
    std::stable_sort(held.begin(), held.end(),
                     [](const Control* a, const Control* b) { return layerOf(*a) < layerOf(*b); });
    for (const Control* c : held) {
        order.push_back(c);
        if (c->kind() == Kind::PictureBox) stackHeldBy(form, c, order);
    }
}

}  // namespace

const Control* HolderOf(const Control& control) {
    for (const Control* c = control.container(); c; c = c->container()) {
        if (c->kind() == Kind::PictureBox) return c;
    }
    return nullptr;
}

std::vector<const Control*> StackingOrder(const Form& form) {
    std::vector<const Control*> order;
    order.reserve(form.controls().size());
    stackHeldBy(form, nullptr, order);
    return order;
}

}  // namespace qx::ui

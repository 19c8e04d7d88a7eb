#include "datamodel/SlotOrder.h"

#include <bit>

namespace talvor {

namespace {
int lowBit(int i) { return i & -i; }
}  // namespace

void SlotOrder::reset(int liveSlots) {
    live_.assign(size_t(liveSlots), 1);
    tree_.resize(size_t(liveSlots) + 1);
    tree_[0] = 0;
    for (int i = 1; i <= liveSlots; ++i) tree_[size_t(i)] = lowBit(i);
    liveCount_ = liveSlots;
}

void SlotOrder::append() {
    const int i = slotCount() + 1;
    // The new node covers the slots (i - lowBit(i), i]: the ones before it and itself.
    tree_.push_back(prefix(i - 1) - prefix(i - lowBit(i)) + 1);
    live_.push_back(1);
    ++liveCount_;
}

void SlotOrder::popBack() {
    if (isLive(slotCount() - 1)) --liveCount_;
    live_.pop_back();
    tree_.pop_back();
}

void SlotOrder::setLive(int slot, bool live) {
    if (isLive(slot) == live) return;
    live_[size_t(slot)] = live;
    add(slot, live ? 1 : -1);
    liveCount_ += live ? 1 : -1;
}

void SlotOrder::add(int slot, int delta) {
    for (int i = slot + 1; i < int(tree_.size()); i += lowBit(i)) tree_[size_t(i)] += delta;
}

int SlotOrder::prefix(int slots) const {
    int sum = 0;
    for (int i = slots; i > 0; i -= lowBit(i)) sum += tree_[size_t(i)];
    return sum;
}

int SlotOrder::positionOf(int slot) const {
    if (liveCount_ == slotCount()) return slot;
    return prefix(slot);
}

int SlotOrder::slotAt(int position) const {
    if (liveCount_ == slotCount()) return position;
    // Descend the tree to the last node whose prefix stays at or below `position`.
    int node = 0;
    int remaining = position;
    for (int step = int(std::bit_floor(unsigned(slotCount()))); step > 0; step >>= 1) {
        const int next = node + step;
        if (next < int(tree_.size()) && tree_[size_t(next)] <= remaining) {
            node = next;
            remaining -= tree_[size_t(next)];
        }
    }
    return node;  // 0-based slot = 1-based node after the covered prefix
}

}  // namespace talvor

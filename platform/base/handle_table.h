// The one way the platform hands out handles: records in slots, each slot with
// a generation that its handles carry, so that a handle outlives its record
// safely and finding a record costs one bounds check and one compare.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {

enum class SlotReuse { REUSE, NEVER };

template <typename Record, typename Handle, SlotReuse reuse = SlotReuse::REUSE>
class HandleTable {
    using Value = std::underlying_type_t<Handle>;
    // A handle is (uses << SLOT_BITS) | (slot + 1), where uses counts the
    // slot's earlier records: nonzero, and a slot's first handle is its number.
    static constexpr int SLOT_BITS = sizeof(Value) >= 8 ? 32 : 24;
    static constexpr int USE_BITS = std::min<int>(sizeof(Value) * 8 - SLOT_BITS, 31);
    static constexpr Value SLOT_MASK = (Value{1} << SLOT_BITS) - 1;
    static constexpr std::uint32_t MAX_USES = (std::uint32_t{1} << USE_BITS) - 1;

    struct Slot {
        std::uint32_t generation = 0;  // 2 * uses + 1 while it holds a record, even while free
        Record record{};
    };

public:
    struct Entry {
        Handle handle;
        Record& record;
    };

    // Handle::NONE only when every slot number is taken.
    Handle add(Record&& record) {
        std::uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            if (slots_.size() >= SLOT_MASK) return Handle::NONE;
            index = static_cast<std::uint32_t>(slots_.size());
            slots_.emplace_back();
        }
        Slot& slot = slots_[index];
        slot.record = std::move(record);
        ++slot.generation;
        return handle_of(index, slot.generation);
    }

    // Null for Handle::NONE, unknown, stale and removed handles.
    Record* find(Handle handle) {
        auto value = static_cast<Value>(handle);
        // NONE wraps round to an index past the end.
        auto index = static_cast<std::uint32_t>(value & SLOT_MASK) - 1;
        if (index >= slots_.size()) return nullptr;
        Slot& slot = slots_[index];
        // Handles carry only odd generations, and free slots hold even ones.
        return Value{slot.generation} == (((value >> SLOT_BITS) << 1) | 1) ? &slot.record : nullptr;
    }

    bool remove(Handle handle) {
        Record* record = find(handle);
        if (!record) return false;
        auto index = static_cast<std::uint32_t>(static_cast<Value>(handle) & SLOT_MASK) - 1;
        Slot& slot = slots_[index];
        // A slot whose uses have run out retires: its next handle would repeat an old one.
        bool retire = reuse == SlotReuse::NEVER || slot.generation / 2 == MAX_USES;
        ++slot.generation;
        *record = Record{};
        if (!retire) free_.push_back(index);
        return true;
    }

    // Forgets every record and slot, for a fresh start: handles begin again as on the first use.
    void clear() {
        slots_.clear();
        free_.clear();
    }

    // Live records in slot order. Records may be added or removed meanwhile:
    // each step reads the table afresh, and slots added behind it are visited.
    class Iterator {
    public:
        Iterator(HandleTable& table, std::uint32_t index) : table_(&table), index_(index) { skip_free(); }
        Entry operator*() const {
            Slot& slot = table_->slots_[index_];
            return Entry{handle_of(index_, slot.generation), slot.record};
        }
        Iterator& operator++() {
            ++index_;
            skip_free();
            return *this;
        }
        bool operator!=(std::default_sentinel_t) const { return index_ < table_->slots_.size(); }

    private:
        void skip_free() {
            while (index_ < table_->slots_.size() && (table_->slots_[index_].generation & 1) == 0) ++index_;
        }
        HandleTable* table_;
        std::uint32_t index_;
    };

    Iterator begin() { return Iterator(*this, 0); }
    std::default_sentinel_t end() { return std::default_sentinel; }

private:
    static Handle handle_of(std::uint32_t index, std::uint32_t generation) {
        return static_cast<Handle>((Value{generation >> 1} << SLOT_BITS) | (Value{index} + 1));
    }

    std::vector<Slot> slots_;
    std::vector<std::uint32_t> free_;
};

}  // namespace platform

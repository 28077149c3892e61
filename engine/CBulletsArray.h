#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "CBulletDimensions.h"

// The bullet database: an ordered, growable array of bullet records. A record is identified by its
// name and uniqueNumber together; the same name may appear under several numbers.
class CBulletsArray {
public:
    using iterator = std::vector<CBulletDimensions>::iterator;
    using const_iterator = std::vector<CBulletDimensions>::const_iterator;

    // The starting list used when there is no database file yet: eleven common match and hunting
    // bullets, all Secant with a twist of 10 in, numbered 1 to 11.
    static CBulletsArray BuiltIn();

    size_t GetSize() const { return items_.size(); }
    bool IsEmpty() const { return items_.empty(); }
    // index < GetSize()
    const CBulletDimensions& operator[](size_t index) const { return items_[index]; }
    CBulletDimensions& operator[](size_t index) { return items_[index]; }
    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

    // Appends a copy; its index.
    size_t Add(const CBulletDimensions& bullet);
    // Removes one record; false (and nothing changes) for an index past the end.
    bool RemoveAt(size_t index);
    void RemoveAll() { items_.clear(); }
    void Reserve(size_t count) { items_.reserve(count); }

    // The first record whose name is byte-for-byte `name` and whose number is `uniqueNumber`; when
    // there is none, the first record. On an empty array, a default record.
    CBulletDimensions Find(std::string_view name, int32_t uniqueNumber) const;
    // Removes every record matching both; how many were removed.
    size_t RemoveMatching(std::string_view name, int32_t uniqueNumber);
    // A number for a new record: max(1, the largest number in use) + 1. When the largest number in
    // use is already the greatest int32, the smallest unused number from 2 up instead (no overflow,
    // no duplicate).
    int32_t NextUniqueNumber() const;

private:
    std::vector<CBulletDimensions> items_;
};

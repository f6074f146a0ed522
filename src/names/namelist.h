#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavolin {

// Reading an entry behind the end of a list.
class ListIndexError : public std::out_of_range {
public:
    ListIndexError();
};

// An ordered list of names (Windows-1252 byte strings) that only grows, with
// a hash index kept in step so that "is this name in the list?" costs O(1).
// Two names are the same only when they are equal byte for byte.
//
// All names share one byte buffer; an entry is a view into it, valid until
// the next append or clear.
class NameList {
public:
    NameList();
    ~NameList();
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }

    std::string_view operator[](std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(bytes_).substr(begin, ends_[index] - begin);
    }
    // Throws ListIndexError for an index at or behind the end.
    std::string_view at(std::size_t index) const;

    bool contains(std::string_view name) const;
    void append(std::string_view name);
    void clear();
    // Room for this many more names holding this many more bytes.
    void reserve(std::size_t names, std::size_t bytes);

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const NameList* list, std::size_t index) : list_(list), index_(index) {}
        std::string_view operator*() const { return (*list_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            auto old = *this;
            ++index_;
            return old;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const NameList* list_ = nullptr;
        std::size_t index_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    class Index;
    std::string bytes_;
    std::vector<std::size_t> ends_; // end offset of each name in bytes_
    std::unique_ptr<Index> index_;
};

} // namespace tavolin

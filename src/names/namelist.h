#pragma once

#include "names/listsize.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavolin {

// Reading an entry behind the end of a list.
class ListIndexError : public std::out_of_range {
public:
    ListIndexError();
};

// An ordered list of names (Windows-1252 byte strings) that only grows, with
// a hash index so that "is this name in the list?" costs O(1). Two names are
// the same only when they are equal byte for byte.
//
// All names share one byte buffer; an entry is a view into it, valid until
// the next append or clear. The index is built by the first contains() and
// from then on kept in step with every append: loading a database of a
// million names stays as fast as reading it, and a list that is never asked
// (a foreign database to be merged) never pays for one.
//
// The list also counts its entries by first byte and by length as they are
// appended: two increments per append, where counting on demand would read a
// million entries again at every look at the statistics.
class NameList {
public:
    NameList();
    ~NameList();
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;

    std::size_t size() const { return offsets_.size() - 1; }
    bool empty() const { return offsets_.size() == 1; }

    // Entry b counts the entries that begin with the byte b; the last one
    // counts the empty entries.
    using CountsByFirstByte = std::array<std::uint64_t, 257>;
    const CountsByFirstByte& EntriesByFirstByte() const { return byFirstByte_; }
    // Entry n counts the entries of n bytes; the last one, kCountedLengths,
    // counts every entry of that length or longer.
    static constexpr std::size_t kCountedLengths = 256;
    using CountsByLength = std::array<std::uint64_t, kCountedLengths + 1>;
    const CountsByLength& EntriesByLength() const { return byLength_; }

    std::string_view operator[](std::size_t index) const {
        return {bytes_.data() + offsets_[index], offsets_[index + 1] - offsets_[index]};
    }
    // Throws ListIndexError for an index at or behind the end.
    std::string_view at(std::size_t index) const;

    // Builds the index if this is the first question; not safe to call from
    // two threads at once.
    bool contains(std::string_view name) const;
    // Whether the index is built: a single question to a list without one is
    // answered faster by looking at every entry.
    bool Indexed() const { return index_ != nullptr; }
    // Throws ListSizeError when the names would outgrow 4 GiB (or the list
    // 2^32 entries).
    void append(std::string_view name) {
        if (Holds(name)) {
            append(std::string(name)); // making room may move the bytes it views
            return;
        }
        Appender appender(*this, name.size());
        appender.Add(name);
    }
    void clear();
    // Room for this many more names holding this many more bytes.
    void reserve(std::size_t names, std::size_t bytes);

    // Appends many names, such as those of a whole file, at the cost of plain
    // copies: room for all their bytes is made once, up front. The list must
    // not be read or changed otherwise until the appender is gone.
    class Appender {
    public:
        // Room for names of `bytes` bytes in all. Throws ListSizeError when
        // the list cannot grow that far.
        Appender(NameList& list, std::size_t bytes);
        ~Appender() { list_.bytes_.resize(used_); }
        Appender(const Appender&) = delete;
        Appender& operator=(const Appender&) = delete;

        // The name must fit into the room that is left and must not be an
        // entry of the list.
        void Add(std::string_view name) {
            assert(name.size() <= Room());
            if (!name.empty())
                std::memcpy(Next(), name.data(), name.size());
            Commit(name.size());
        }
        // The same for a name that lies in a text that goes on up to
        // `textEnd`: a short one is copied as sixteen bytes at once, which
        // the room's slack takes.
        void AddFromText(std::string_view name, const char* textEnd) {
            assert(name.size() <= Room());
            if (name.size() <= kSlack && textEnd - name.data() >= static_cast<std::ptrdiff_t>(kSlack))
                std::memcpy(Next(), name.data(), kSlack);
            else if (!name.empty())
                std::memcpy(Next(), name.data(), name.size());
            Commit(name.size());
        }

    private:
        static constexpr std::size_t kSlack = 16;
        static constexpr std::size_t kNoFirstByte = 256;

        char* Next() { return list_.bytes_.data() + used_; }
        std::size_t Room() const { return list_.bytes_.size() - kSlack - used_; }
        void Commit(std::size_t size) {
            ListOffset(list_.size()); // the index keeps 32-bit positions
            list_.offsets_.push_back(static_cast<std::uint32_t>(used_ + size));
            ++list_.byFirstByte_[size == 0 ? kNoFirstByte : static_cast<unsigned char>(*Next())];
            ++list_.byLength_[std::min(size, kCountedLengths)];
            used_ += size;
            if (list_.index_)
                list_.IndexLast();
        }

        NameList& list_;
        std::size_t used_;
    };

    // Iterators, like entries, stay valid until the next append or clear.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const char* bytes, const std::uint32_t* offset) : bytes_(bytes), offset_(offset) {}
        std::string_view operator*() const { return {bytes_ + offset_[0], offset_[1] - offset_[0]}; }
        const_iterator& operator++() {
            ++offset_;
            return *this;
        }
        const_iterator operator++(int) {
            auto old = *this;
            ++offset_;
            return old;
        }
        bool operator==(const const_iterator& other) const { return offset_ == other.offset_; }

    private:
        const char* bytes_ = nullptr;
        const std::uint32_t* offset_ = nullptr; // that of the entry's first byte
    };
    const_iterator begin() const { return {bytes_.data(), offsets_.data()}; }
    const_iterator end() const { return {bytes_.data(), offsets_.data() + size()}; }

private:
    class Index;
    void IndexLast();
    // Whether the text lies in the list's own bytes.
    bool Holds(std::string_view text) const {
        const std::less_equal<> notAfter;
        return !text.empty() && notAfter(bytes_.data(), text.data()) &&
               notAfter(text.data() + text.size(), bytes_.data() + bytes_.size());
    }

    // A vector that leaves new bytes uninitialised: the room an appender
    // makes is only touched (and only takes memory) as names are copied in.
    template <class T>
    struct UninitialisedAllocator : std::allocator<T> {
        template <class U>
        struct rebind {
            using other = UninitialisedAllocator<U>;
        };
        UninitialisedAllocator() = default;
        template <class U>
        UninitialisedAllocator(const UninitialisedAllocator<U>&) {}
        template <class U>
        void construct(U* at) {
            ::new (static_cast<void*>(at)) U;
        }
        template <class U, class... Args>
        void construct(U* at, Args&&... args) {
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
        }
    };
    std::vector<char, UninitialisedAllocator<char>> bytes_;
    // Entry i is bytes_[offsets_[i], offsets_[i + 1]); the first offset is 0.
    std::vector<std::uint32_t> offsets_;
    mutable std::unique_ptr<Index> index_; // nothing until the first contains()
    CountsByFirstByte byFirstByte_{};
    CountsByLength byLength_{};
};

} // namespace tavolin

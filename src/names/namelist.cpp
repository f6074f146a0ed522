#include "names/namelist.h"

#include <absl/container/flat_hash_set.h>
#include <absl/hash/hash.h>

namespace tavolin {

ListIndexError::ListIndexError() : std::out_of_range("Listenindex außerhalb des zulässigen Bereichs") {}

ListSizeError::ListSizeError() : std::length_error("Die Namen-Datenbank ist zu groß") {}

// The index holds the position of the first entry of each distinct name.
// Hash and equality accept a position or a name, so a lookup by name needs no
// copy of it, and the index stores four bytes per distinct name.
class NameList::Index {
public:
    // Indexes every entry of the list.
    explicit Index(const NameList& list) : set_(0, Hash{&list}, Equal{&list}) {
        const auto count = static_cast<std::uint32_t>(list.size());
        set_.reserve(count);
        // Each insert lands on a random slot of a table far larger than the
        // caches; fetching the slot of a name a few entries ahead lets those
        // misses overlap instead of following one another.
        constexpr std::uint32_t kAhead = 16;
        for (std::uint32_t position = 0; position < count; ++position) {
            if (position + kAhead < count)
                set_.prefetch(list[position + kAhead]);
            set_.insert(position);
        }
    }

    bool contains(std::string_view name) const { return set_.contains(name); }
    void insert(std::uint32_t position) { set_.insert(position); }

private:
    struct Hash {
        using is_transparent = void;
        const NameList* list;
        std::size_t operator()(std::string_view name) const { return absl::Hash<std::string_view>{}(name); }
        std::size_t operator()(std::uint32_t position) const { return (*this)((*list)[position]); }
    };
    struct Equal {
        using is_transparent = void;
        const NameList* list;
        std::string_view View(std::string_view name) const { return name; }
        std::string_view View(std::uint32_t position) const { return (*list)[position]; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return View(a) == View(b);
        }
    };
    absl::flat_hash_set<std::uint32_t, Hash, Equal> set_;
};

NameList::NameList() : offsets_{0} {}

NameList::~NameList() = default;

std::string_view NameList::at(std::size_t index) const {
    if (index >= size())
        throw ListIndexError();
    return (*this)[index];
}

bool NameList::contains(std::string_view name) const {
    if (!index_)
        index_ = std::make_unique<Index>(*this);
    return index_->contains(name);
}

void NameList::IndexLast() {
    // A name that is there already keeps the position of its first entry.
    index_->insert(static_cast<std::uint32_t>(size() - 1));
}

NameList::Appender::Appender(NameList& list, std::size_t bytes) : list_(list), used_(list.bytes_.size()) {
    ListOffset(used_ + bytes);
    list_.bytes_.resize(used_ + bytes + kSlack);
}

void NameList::clear() {
    index_.reset();
    offsets_.resize(1);
    bytes_.clear();
    byFirstByte_ = {};
    byLength_ = {};
}

void NameList::reserve(std::size_t names, std::size_t bytes) {
    offsets_.reserve(offsets_.size() + names);
    bytes_.reserve(bytes_.size() + bytes);
}

} // namespace tavolin

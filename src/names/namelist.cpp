#include "names/namelist.h"

#include <absl/container/flat_hash_set.h>
#include <absl/hash/hash.h>

namespace tavolin {

ListIndexError::ListIndexError() : std::out_of_range("Listenindex außerhalb des zulässigen Bereichs") {}

// The index holds the position of the first entry of each distinct name.
// Hash and equality accept a position or a name, so a lookup by name needs no
// copy of it, and the index stores four bytes per distinct name.
class NameList::Index {
public:
    explicit Index(const NameList& list) : set_(0, Hash{&list}, Equal{&list}) {}

    bool contains(std::string_view name) const { return set_.contains(name); }
    void insert(std::uint32_t position) { set_.insert(position); }
    void clear() { set_.clear(); }
    void reserve(std::size_t count) { set_.reserve(count); }

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
        std::string_view view(std::string_view name) const { return name; }
        std::string_view view(std::uint32_t position) const { return (*list)[position]; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return view(a) == view(b);
        }
    };
    absl::flat_hash_set<std::uint32_t, Hash, Equal> set_;
};

NameList::NameList() : index_(std::make_unique<Index>(*this)) {}

NameList::~NameList() = default;

std::string_view NameList::at(std::size_t index) const {
    if (index >= size())
        throw ListIndexError();
    return (*this)[index];
}

bool NameList::contains(std::string_view name) const {
    return index_->contains(name);
}

void NameList::append(std::string_view name) {
    bytes_.append(name);
    ends_.push_back(bytes_.size());
    // A name that is there already keeps the position of its first entry.
    index_->insert(static_cast<std::uint32_t>(ends_.size() - 1));
}

void NameList::clear() {
    index_->clear();
    ends_.clear();
    bytes_.clear();
}

void NameList::reserve(std::size_t names, std::size_t bytes) {
    ends_.reserve(ends_.size() + names);
    bytes_.reserve(bytes_.size() + bytes);
    index_->reserve(ends_.size() + names);
}

} // namespace tavolin

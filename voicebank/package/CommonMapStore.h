#pragma once
// An owning map from a text key to a record, keys in byte order. Records
// handed out stay the store's. No lock: one thread uses a store, or its
// owner locks around it.
#include <iostream>
#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace Halvoren {

template <class T>
class CommonMapStore {
public:
    // log receives the message of a refused insert; it must outlive the store.
    explicit CommonMapStore(std::ostream& log = std::cerr) : log_(&log) {}
    virtual ~CommonMapStore() { clear(); }
    CommonMapStore(const CommonMapStore&) = delete;
    CommonMapStore& operator=(const CommonMapStore&) = delete;

    // Stores record under key and returns it. When the key is present the
    // record already stored stays, "fail to insert value : " and the key are
    // written to the log, the new record is freed and the stored one is
    // returned. A null record stores nothing and gives null.
    T* insert(const std::string& key, std::unique_ptr<T> record)
    {
        if (!record)
            return nullptr;
        const auto [at, inserted] = records_.try_emplace(key, nullptr);
        if (!inserted) {
            *log_ << "fail to insert value : " << key << std::endl;
            return at->second.get();
        }
        at->second = std::move(record);
        return at->second.get();
    }

    // The record stored under key, or null.
    T* find(const std::string& key) const
    {
        const auto at = records_.find(key);
        return at == records_.end() ? nullptr : at->second.get();
    }

    // Calls visit(record) for every record, in key order.
    template <class Visit>
    void forEach(Visit visit)
    {
        for (auto& [key, record] : records_)
            visit(*record);
    }

    // Frees every record and empties the map.
    void clear() { records_.clear(); }

    std::size_t size() const { return records_.size(); }

private:
    std::map<std::string, std::unique_ptr<T>> records_;
    std::ostream* log_;
};

}  // namespace Halvoren

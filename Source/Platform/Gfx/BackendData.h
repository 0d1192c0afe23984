// What a backend keeps for one object: its storage, its GL names. The object owns it and
// destroys it with itself, so a backend frees its side of an object in the destructor.
#pragma once

#include <memory>
#include <utility>

class BackendData {
public:
    virtual ~BackendData() = default;
};

class BackendSlot {
public:
    void Attach(std::unique_ptr<BackendData> data) { data_ = std::move(data); }
    void Detach() { data_.reset(); }
    bool Attached() const { return data_ != nullptr; }

    // The backend's own type; every object a backend sees was attached by that backend.
    template <class T>
    T& As() const
    {
        return static_cast<T&>(*data_);
    }

    // Null when nothing, or data of another type, is attached.
    template <class T>
    T* Find() const
    {
        return dynamic_cast<T*>(data_.get());
    }

private:
    std::unique_ptr<BackendData> data_;
};

#pragma once
// Run-time type identifier: one static object per class, named by the class name. Identity is the object's
// address, so two identifiers are equal only when they are the same object.

#include <string>
#include <string_view>

class utTypeID {
public:
    explicit utTypeID(std::string_view name) : m_name(name) {}
    utTypeID(const utTypeID&) = delete;
    utTypeID& operator=(const utTypeID&) = delete;

    const std::string& name() const { return m_name; }

    bool operator==(const utTypeID& other) const { return this == &other; }
    bool operator!=(const utTypeID& other) const { return this != &other; }

private:
    std::string m_name;
};

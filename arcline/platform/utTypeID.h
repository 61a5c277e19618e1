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

// Run-time type identity of a class family rooted at `root`, which declares the two virtual members itself:
//     virtual const utTypeID& ut_dynamic_type() const;
//     virtual int ut_is_kind_of(const utTypeID& t) const;
// A class with an identity of its own puts UT_DECLARE_TYPE_ID(cls, root) in its body and
// UT_IMPLEMENT_TYPE_ID(cls, base, root) in its source. ut_is_kind_of(t) is true for the class's own id and
// for the id of every base; ut_dynamic_cast(p) gives p as a cls pointer when p is not null and of that kind,
// else null. A class without the macros answers as its base.
#define UT_DECLARE_TYPE_ID(cls, root)                                                                        \
public:                                                                                                      \
    static const utTypeID& ut_static_type();                                                                 \
    const utTypeID& ut_dynamic_type() const override;                                                        \
    int ut_is_kind_of(const utTypeID& t) const override;                                                     \
    static const cls* ut_dynamic_cast(const root* p);                                                        \
    static cls* ut_dynamic_cast(root* p);

// The identifier is a function-local static, so that a caller in another library's static initialisation
// still finds it built; the namespace-scope reference creates it while this library is loaded.
#define UT_IMPLEMENT_TYPE_ID(cls, base, root)                                                                \
    const utTypeID& cls::ut_static_type() {                                                                  \
        static const utTypeID id(#cls);                                                                      \
        return id;                                                                                           \
    }                                                                                                        \
    const utTypeID& cls::ut_dynamic_type() const {                                                           \
        return ut_static_type();                                                                             \
    }                                                                                                        \
    int cls::ut_is_kind_of(const utTypeID& t) const {                                                        \
        return t == ut_static_type() || base::ut_is_kind_of(t);                                              \
    }                                                                                                        \
    const cls* cls::ut_dynamic_cast(const root* p) {                                                         \
        return p != nullptr && p->ut_is_kind_of(ut_static_type()) ? static_cast<const cls*>(p) : nullptr;    \
    }                                                                                                        \
    cls* cls::ut_dynamic_cast(root* p) {                                                                     \
        return p != nullptr && p->ut_is_kind_of(ut_static_type()) ? static_cast<cls*>(p) : nullptr;          \
    }                                                                                                        \
    namespace {                                                                                              \
    [[maybe_unused]] const utTypeID& ut_type_id_of_##cls = cls::ut_static_type();                            \
    }

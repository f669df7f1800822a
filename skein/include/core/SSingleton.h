#pragma once
// Process-wide objects: SSingleton<T> publishes the one instance of T for its lifetime;
// SSingleton2 is the base through which the application deletes the singletons it owns.

namespace SKEIN {

template <class T>
class SSingleton {
public:
    // The live instance, null before it is constructed and after it is destroyed.
    static T* Instance() { return s_instance; }

protected:
    SSingleton() { s_instance = static_cast<T*>(this); }
    ~SSingleton() { s_instance = nullptr; }
    SSingleton(const SSingleton&) = delete;
    SSingleton& operator=(const SSingleton&) = delete;

private:
    static inline T* s_instance = nullptr;
};

class SSingleton2 {
public:
    SSingleton2() {}
    virtual ~SSingleton2() {}
    SSingleton2(const SSingleton2&) = delete;
    SSingleton2& operator=(const SSingleton2&) = delete;
};

} // namespace SKEIN

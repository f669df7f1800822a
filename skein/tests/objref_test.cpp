#include <gtest/gtest.h>
#include <thread>
#include <vector>
#include "core/SObjRef.h"

using namespace SKEIN;

namespace {

struct Counted : TObjRefImpl<IObjRef> {
    explicit Counted(int* destroyed) : destroyed(destroyed) {}
    ~Counted() override { ++*destroyed; }
    long Count() const { return m_refCount; }
    int* destroyed;
};

struct IShape : IObjRef {
    virtual int Sides() = 0;
};

// The counting part is not the first base, so the owner starts at another address.
struct Padding {
    virtual ~Padding() {}
    int pad[3] = {};
};

struct Owner : Padding, TObjRefImpl2<IShape, Owner> {
    explicit Owner(int* destroyed) : destroyed(destroyed) {}
    ~Owner() override { ++*destroyed; }
    int Sides() override { return 4; }
    int* destroyed;
};

} // namespace

TEST(ObjRef, CountStartsAtOneAndTheLastReleaseDeletes)
{
    int destroyed = 0;
    Counted* obj = new Counted(&destroyed);
    EXPECT_EQ(obj->Count(), 1);
    EXPECT_EQ(obj->AddRef(), 2);
    EXPECT_EQ(obj->Release(), 1);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(obj->Release(), 0);
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjRef, SecondFormDeletesTheOwner)
{
    int destroyed = 0;
    IShape* shape = new Owner(&destroyed);
    EXPECT_NE(static_cast<void*>(shape), static_cast<void*>(static_cast<Owner*>(shape)));
    EXPECT_EQ(shape->Sides(), 4);
    shape->Release();
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjRef, AssignObjRefReplacesTheHeldReference)
{
    int destroyed = 0;
    Counted* a = new Counted(&destroyed);
    Counted* b = new Counted(&destroyed);
    Counted* slot = nullptr;
    EXPECT_EQ(AssignObjRef(slot, a), a);
    EXPECT_EQ(a->Count(), 2);
    AssignObjRef(slot, a); // same pointer: nothing changes
    EXPECT_EQ(a->Count(), 2);
    AssignObjRef(slot, b);
    EXPECT_EQ(a->Count(), 1);
    EXPECT_EQ(b->Count(), 2);
    EXPECT_EQ(AssignObjRef(slot, static_cast<Counted*>(nullptr)), nullptr);
    EXPECT_EQ(b->Count(), 1);
    a->Release();
    b->Release();
    EXPECT_EQ(destroyed, 2);
}

TEST(ObjRef, RefPtrHoldsOneReference)
{
    int destroyed = 0;
    Counted* raw = new Counted(&destroyed);
    {
        SRefPtr<Counted> owner(raw, false); // adopts the creation reference
        EXPECT_EQ(raw->Count(), 1);
        SRefPtr<Counted> copy = owner;
        EXPECT_EQ(raw->Count(), 2);
        SRefPtr<Counted> moved(std::move(copy));
        EXPECT_EQ(raw->Count(), 2);
        EXPECT_EQ(copy.Get(), nullptr);
        moved = nullptr;
        EXPECT_EQ(raw->Count(), 1);
        moved = owner;
        moved = owner;
        EXPECT_EQ(raw->Count(), 2);
        Counted* detached = moved.Detach();
        EXPECT_EQ(raw->Count(), 2);
        SRefPtr<Counted> attached;
        attached.Attach(detached);
        EXPECT_EQ(attached->Count(), 2);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjRef, CountsAreInterlocked)
{
    int destroyed = 0;
    Counted* obj = new Counted(&destroyed);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([obj] {
            for (int i = 0; i < 200000; ++i) {
                obj->AddRef();
                obj->Release();
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(obj->Count(), 1);
    obj->Release();
    EXPECT_EQ(destroyed, 1);
}

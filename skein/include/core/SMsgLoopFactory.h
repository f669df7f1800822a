#pragma once
// Where message loops come from: the application's main loop and every modal loop.
#include <new>
#include "core/SMsgLoop.h"
#include "core/SObjRef.h"

namespace SKEIN {

struct IMsgLoopFactory : public IObjRef {
    // A new loop, null when memory runs out.
    virtual SMessageLoop* CreateMsgLoop() = 0;
    // Null is ignored.
    virtual void DestroyMsgLoop(SMessageLoop* loop) = 0;
    virtual ~IMsgLoopFactory() {}
};

class SDefMsgLoopFactory : public TObjRefImpl<IMsgLoopFactory> {
public:
    SMessageLoop* CreateMsgLoop() override { return new (std::nothrow) SMessageLoop; }
    void DestroyMsgLoop(SMessageLoop* loop) override { delete loop; }
};

} // namespace SKEIN

// The effect driver's interface, driven through Rundel.dll: argument checks, effect slots and
// handles, playing states, commands and device state.
#include <gtest/gtest.h>

#include <dinput.h>
#include <dinputd.h>

#include <functional>

#include "RundelTestSupport.h"

using RundelTest::TestEffect;

namespace {

using RundelTest::kClsid;

class RundelDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        HMODULE module = LoadLibraryA("Rundel.dll");
        ASSERT_NE(nullptr, module);
        auto getClassObject =
            RundelTest::ServerExport<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(module, "DllGetClassObject");
        RundelTest::SeedAttributes();
        IClassFactory* factory = nullptr;
        ASSERT_EQ(S_OK, getClassObject(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDirectInputEffectDriver, reinterpret_cast<void**>(&driver_)));
        factory->Release();
    }

    void TearDown() override {
        if (driver_) driver_->Release();
    }

    DWORD Download(const DIEFFECT* effect, DWORD device = 0) {
        DWORD handle = 0;
        EXPECT_EQ(S_OK, driver_->DownloadEffect(device, 0, &handle, effect, DIEP_ALLPARAMS));
        return handle;
    }

    DWORD Status(DWORD handle) {
        DWORD status = 0xBAD;
        EXPECT_EQ(S_OK, driver_->GetEffectStatus(0, handle, &status));
        return status;
    }

    IDirectInputEffectDriver* driver_ = nullptr;
};

}  // namespace

TEST_F(RundelDriverTest, ArgumentChecks) {
    DWORD status = 0, handle = 0;
    DIEFFESCAPE escape = {sizeof escape};
    DIDRIVERVERSIONS shortVersions = {sizeof shortVersions - 4};
    TestEffect good;
    DIEFFECT noDirections = *good.Constant(1000).Get(), strayArrays = noDirections, noBlock = noDirections;
    noDirections.rglDirection = nullptr;
    strayArrays.cAxes = 0;
    noBlock.lpvTypeSpecificParams = nullptr;
    DWORD handle33 = 33;

    struct Case {
        const char* call;
        std::function<HRESULT()> run;
        HRESULT expected;
    } cases[] = {
        {"DeviceID old DirectInput", [&] { return driver_->DeviceID(0x6FF, 0, TRUE, 0, nullptr); },
         HRESULT_FROM_WIN32(ERROR_OLD_WIN_VERSION)},
        {"DeviceID device 16", [&] { return driver_->DeviceID(0x800, 16, TRUE, 0, nullptr); }, E_INVALIDARG},
        {"DeviceID absent device", [&] { return driver_->DeviceID(0x800, 0, TRUE, 0, nullptr); },
         HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED)},
        {"GetVersions null", [&] { return driver_->GetVersions(nullptr); }, E_INVALIDARG},
        {"GetVersions short", [&] { return driver_->GetVersions(&shortVersions); }, E_INVALIDARG},
        {"Escape handle 0", [&] { return driver_->Escape(0, 0, &escape); }, S_OK},
        {"Escape handle 33", [&] { return driver_->Escape(0, 33, &escape); }, E_INVALIDARG},
        {"Escape device 16", [&] { return driver_->Escape(16, 1, &escape); }, E_INVALIDARG},
        {"Escape no record", [&] { return driver_->Escape(0, 1, nullptr); }, E_INVALIDARG},
        {"SetGain 10000", [&] { return driver_->SetGain(0, 10000); }, S_OK},
        {"SetGain 10001", [&] { return driver_->SetGain(0, 10001); }, E_INVALIDARG},
        {"SetGain device 16", [&] { return driver_->SetGain(16, 0); }, E_INVALIDARG},
        {"command 64", [&] { return driver_->SendForceFeedbackCommand(0, 64); }, E_NOTIMPL},
        {"command pause", [&] { return driver_->SendForceFeedbackCommand(0, DISFFC_PAUSE); }, S_OK},
        {"command actuators off", [&] { return driver_->SendForceFeedbackCommand(0, DISFFC_SETACTUATORSOFF); }, S_OK},
        {"command device 16", [&] { return driver_->SendForceFeedbackCommand(16, DISFFC_RESET); }, E_INVALIDARG},
        {"state without record", [&] { return driver_->GetForceFeedbackState(0, nullptr); }, E_INVALIDARG},
        {"Destroy handle 0", [&] { return driver_->DestroyEffect(0, 0); }, E_INVALIDARG},
        {"Destroy handle 33", [&] { return driver_->DestroyEffect(0, 33); }, E_INVALIDARG},
        {"Start handle 0", [&] { return driver_->StartEffect(0, 0, 0, 1); }, E_INVALIDARG},
        {"Start handle 33", [&] { return driver_->StartEffect(0, 33, 0, 1); }, E_INVALIDARG},
        {"Start free slot", [&] { return driver_->StartEffect(0, 5, 0, 1); }, E_INVALIDARG},
        {"Stop handle 0", [&] { return driver_->StopEffect(0, 0); }, E_INVALIDARG},
        {"Stop handle 33", [&] { return driver_->StopEffect(0, 33); }, E_INVALIDARG},
        {"Status handle 0", [&] { return driver_->GetEffectStatus(0, 0, &status); }, E_INVALIDARG},
        {"Status handle 33", [&] { return driver_->GetEffectStatus(0, 33, &status); }, E_INVALIDARG},
        {"Status without out", [&] { return driver_->GetEffectStatus(0, 1, nullptr); }, E_INVALIDARG},
        {"Download device 16", [&] { return driver_->DownloadEffect(16, 0, &handle, good.Get(), DIEP_ALLPARAMS); },
         E_INVALIDARG},
        {"Download effect 12", [&] { return driver_->DownloadEffect(0, 12, &handle, good.Get(), DIEP_ALLPARAMS); },
         E_INVALIDARG},
        {"Download no handle", [&] { return driver_->DownloadEffect(0, 0, nullptr, good.Get(), DIEP_ALLPARAMS); },
         E_INVALIDARG},
        {"Download no effect", [&] { return driver_->DownloadEffect(0, 0, &handle, nullptr, DIEP_ALLPARAMS); },
         E_INVALIDARG},
        {"Download handle 33", [&] { return driver_->DownloadEffect(0, 0, &handle33, good.Get(), DIEP_ALLPARAMS); },
         E_INVALIDARG},
        {"Download axes without directions",
         [&] { return driver_->DownloadEffect(0, 0, &handle, &noDirections, DIEP_ALLPARAMS); }, E_INVALIDARG},
        {"Download arrays without axes",
         [&] { return driver_->DownloadEffect(0, 0, &handle, &strayArrays, DIEP_ALLPARAMS); }, E_INVALIDARG},
        {"Download size without block",
         [&] { return driver_->DownloadEffect(0, 0, &handle, &noBlock, DIEP_ALLPARAMS); }, E_INVALIDARG},
        {"Update free slot",
         [&] {
             DWORD free = 7;
             return driver_->DownloadEffect(0, 0, &free, good.Get(), DIEP_GAIN);
         },
         E_INVALIDARG},
    };
    for (Case& c : cases) {
        handle = 0;
        EXPECT_EQ(c.expected, c.run()) << c.call;
    }
    EXPECT_EQ(0u, handle) << "no effect was downloaded";
}

TEST_F(RundelDriverTest, VersionsAndDeviceState) {
    DIDRIVERVERSIONS versions = {sizeof versions};
    ASSERT_EQ(S_OK, driver_->GetVersions(&versions));
    EXPECT_EQ(1u, versions.dwFirmwareRevision);
    EXPECT_EQ(1u, versions.dwHardwareRevision);
    EXPECT_EQ(3u, versions.dwFFDriverVersion);

    DIDEVICESTATE state = {sizeof state, 0xBAD, 0xBAD};
    ASSERT_EQ(S_OK, driver_->GetForceFeedbackState(0, &state));
    EXPECT_EQ(DWORD(DIGFFS_EMPTY | DIGFFS_STOPPED | DIGFFS_ACTUATORSON), state.dwState);
    EXPECT_EQ(0u, state.dwLoad);

    TestEffect effect;
    effect.Constant(1000);
    Download(effect.Get());
    DWORD playing = Download(effect.Get());
    ASSERT_EQ(S_OK, driver_->StartEffect(0, playing, 0, 1));
    ASSERT_EQ(S_OK, driver_->GetForceFeedbackState(0, &state));
    EXPECT_EQ(DWORD(DIGFFS_ACTUATORSON), state.dwState);
    EXPECT_EQ(2u * 100 / 32, state.dwLoad);
}

TEST_F(RundelDriverTest, ThirtyTwoSlotsPerDeviceAndTheLowestFreeHandleIsReused) {
    TestEffect effect;
    effect.Constant(1000);
    for (DWORD expected = 1; expected <= 32; ++expected) EXPECT_EQ(expected, Download(effect.Get()));
    DWORD handle = 0;
    EXPECT_EQ(E_FAIL, driver_->DownloadEffect(0, 0, &handle, effect.Get(), DIEP_ALLPARAMS));
    EXPECT_EQ(1u, Download(effect.Get(), 1)) << "each device has its own slots";

    ASSERT_EQ(S_OK, driver_->DestroyEffect(0, 9));
    ASSERT_EQ(S_OK, driver_->DestroyEffect(0, 4));
    EXPECT_EQ(4u, Download(effect.Get()));
    EXPECT_EQ(9u, Download(effect.Get()));
}

TEST_F(RundelDriverTest, NoDownloadFlagChangesNothing) {
    TestEffect effect;
    effect.Constant(1000);
    DWORD handle = 0;
    EXPECT_EQ(S_OK, driver_->DownloadEffect(0, 0, &handle, effect.Get(), DIEP_ALLPARAMS | DIEP_NODOWNLOAD));
    EXPECT_EQ(0u, handle);
    EXPECT_EQ(1u, Download(effect.Get()));
}

TEST_F(RundelDriverTest, UpdatesKeepAxesAndDirectionsInStep) {
    TestEffect effect;
    effect.Constant(1000);
    DWORD handle = Download(effect.Get());
    TestEffect oneAxis(1);
    oneAxis.Constant(1000);
    EXPECT_EQ(E_INVALIDARG, driver_->DownloadEffect(0, 0, &handle, oneAxis.Get(), DIEP_DIRECTION));
    EXPECT_EQ(E_INVALIDARG, driver_->DownloadEffect(0, 0, &handle, oneAxis.Get(), DIEP_AXES));
    EXPECT_EQ(S_OK, driver_->DownloadEffect(0, 0, &handle, oneAxis.Get(), DIEP_AXES | DIEP_DIRECTION));
    EXPECT_EQ(S_OK, driver_->DownloadEffect(0, 0, &handle, oneAxis.Directions(-1).Get(), DIEP_DIRECTION));
    EXPECT_EQ(1u, handle);
}

TEST_F(RundelDriverTest, StartStopSoloAndTheStartFlag) {
    TestEffect effect;
    effect.Constant(1000);
    DWORD first = Download(effect.Get()), second = Download(effect.Get());
    DWORD third = 0;
    ASSERT_EQ(S_OK, driver_->DownloadEffect(0, 0, &third, effect.Get(), DIEP_ALLPARAMS | DIEP_START));
    EXPECT_EQ(0u, Status(first));
    EXPECT_EQ(DWORD(DIEGES_PLAYING), Status(third));

    ASSERT_EQ(S_OK, driver_->StartEffect(0, first, 0, 1));
    ASSERT_EQ(S_OK, driver_->StartEffect(0, second, DIES_SOLO, 1));
    EXPECT_EQ(0u, Status(first));
    EXPECT_EQ(DWORD(DIEGES_PLAYING), Status(second));
    EXPECT_EQ(0u, Status(third));

    EXPECT_EQ(E_INVALIDARG, driver_->StartEffect(0, first, DIES_SOLO, 0)) << "no plays";
    EXPECT_EQ(0u, Status(first));
    EXPECT_EQ(DWORD(DIEGES_PLAYING), Status(second)) << "a refused solo start stops nothing";

    ASSERT_EQ(S_OK, driver_->StopEffect(0, second));
    EXPECT_EQ(0u, Status(second));
}

TEST_F(RundelDriverTest, StopAllKeepsTheEffectsAndResetFreesThem) {
    TestEffect effect;
    effect.Constant(1000);
    DWORD first = Download(effect.Get()), second = Download(effect.Get());
    driver_->StartEffect(0, first, 0, 1);
    driver_->StartEffect(0, second, 0, 1);

    ASSERT_EQ(S_OK, driver_->SendForceFeedbackCommand(0, DISFFC_STOPALL));
    EXPECT_EQ(0u, Status(first));
    EXPECT_EQ(S_OK, driver_->StartEffect(0, first, 0, 1)) << "still downloaded";

    ASSERT_EQ(S_OK, driver_->SendForceFeedbackCommand(0, DISFFC_RESET));
    EXPECT_EQ(0u, Status(first));
    EXPECT_EQ(E_INVALIDARG, driver_->StartEffect(0, second, 0, 1)) << "freed";
    EXPECT_EQ(1u, Download(effect.Get()));
}

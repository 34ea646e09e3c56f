// Command-line check of the device path: opens a simulated two-channel
// adapter, gives its bus background traffic and prints what channel 1 hears.
#include "devcan.h"
#include "vcisim.h"

#include <cstdio>
#include <thread>

int main()
{
    DevCan &dev = DevCan::instance();
    if (!dev.isLibraryLoaded()) {
        std::fprintf(stderr, "The interface library could not be loaded.\n");
        return 1;
    }
    if (dev.openDevice(VCI_KELMO_USB2, 0, 0) != 1) {
        std::fprintf(stderr, "Open device failed.\n");
        return 1;
    }
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.FilterMode = 1;
    config.BTR1 = 0x1C;  // 500 kbit/s
    for (uint32_t ch = 0; ch < dev.getChannels(); ++ch) {
        if (dev.initCAN(ch, &config) != 1 || dev.StartCAN(ch) != 1) {
            std::fprintf(stderr, "Start device failed.\n");
            return 1;
        }
    }
    VCISIM_SetBackgroundTraffic(VCI_KELMO_USB2, 0, 500000, 0x123, 10);
    VCI_CAN_OBJ frames[32];
    for (int round = 0; round < 40; ++round) {
        const uint32_t n = dev.Receive(1, frames, 32, 0);
        for (uint32_t i = 0; i < n; ++i) {
            std::printf("%10.1f ms  ID %08X  DLC %u ", frames[i].DeviceTime / 10.0, frames[i].ID,
                        frames[i].DataLen);
            for (int b = 0; b < frames[i].DataLen && b < 8; ++b)
                std::printf(" %02X", frames[i].Data[b]);
            std::printf("\n");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    dev.closeDevice();
    return 0;
}

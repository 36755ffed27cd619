// The libusb backend against a described USB device under umockdev: a DPP-like unit with one
// interface of seven endpoints that echoes the configuration, answers a status packet, stalls
// its spectrum endpoint, records vendor requests and has a string descriptor.

#include <gtest/gtest.h>

#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "common/Clock.h"
#include "dpp/DppProtocol.h"
#include "dpp/DppUsbLink.h"
#include "platform/usb/LibUsbDriver.h"

namespace vorna::test {
namespace {

constexpr UsbId kTestId{0x1234, 0x5678};

// Device, configuration, interface with seven endpoints: 0x01 out, 0x81..0x86 in, all bulk.
const char* const kDescription =
    "P: /devices/usb1/1-1\n"
    "N: bus/usb/001/002\n"
    "E: SUBSYSTEM=usb\n"
    "E: DEVTYPE=usb_device\n"
    "E: DRIVER=usb\n"
    "E: BUSNUM=001\n"
    "E: DEVNUM=002\n"
    "E: DEVNAME=/dev/bus/usb/001/002\n"
    "A: busnum=1\\n\n"
    "A: devnum=2\\n\n"
    "A: bConfigurationValue=1\\n\n"
    "A: speed=480\\n\n"
    "H: descriptors="
    "120100020000004034127856000101020301"
    "09024300010100803209040000"
    "07ff000000"
    "0705010240000007058102400000070582024000000705830240000007058402400000"
    "0705850240000007058602400000\n";

// The device side: what arrives, what goes back.
struct FakeUnit {
    std::mutex lock;
    std::vector<uint8_t> echo;                  // last bulk write, read back on 0x85
    std::vector<uint8_t> status;                // answer on 0x81
    std::vector<std::array<uint8_t, 8>> setups; // control requests out
    int stalls = 0;
    struct Done {
        UMockdevIoctlData* urb;
        UMockdevIoctlData* buffer;
    };
    std::deque<Done> done;
};

std::vector<uint8_t> StringDescriptor(const std::string& text) {
    std::vector<uint8_t> d{static_cast<uint8_t>(2 + 2 * text.size()), 3};
    for (char c : text) {
        d.push_back(static_cast<uint8_t>(c));
        d.push_back(0);
    }
    return d;
}

// Fills the URB's answer; returns the URB status.
int Serve(FakeUnit& unit, usbdevfs_urb& urb, uint8_t* data) {
    const auto len = static_cast<size_t>(urb.buffer_length);
    if (urb.type == USBDEVFS_URB_TYPE_CONTROL) {
        std::array<uint8_t, 8> setup{};
        std::copy_n(data, 8, setup.begin());
        if (setup[0] == 0x80 && setup[1] == 6 && setup[3] == 3) {
            // GET_DESCRIPTOR, string: index 0 lists English, the rest one text.
            auto d = setup[2] == 0 ? std::vector<uint8_t>{4, 3, 0x09, 0x04}
                                   : StringDescriptor("  Quorix Plover   ");
            const size_t n = std::min(d.size(), len - 8);
            std::copy_n(d.begin(), n, data + 8);
            urb.actual_length = static_cast<int>(n);
            return 0;
        }
        unit.setups.push_back(setup);
        urb.actual_length = 0;
        return 0;
    }
    switch (urb.endpoint) {
    case 0x01:
        unit.echo.assign(data, data + len);
        urb.actual_length = static_cast<int>(len);
        return 0;
    case 0x81:
    case 0x85: {
        const auto& answer = urb.endpoint == 0x81 ? unit.status : unit.echo;
        const size_t n = std::min(answer.size(), len);
        std::copy_n(answer.begin(), n, data);
        urb.actual_length = static_cast<int>(n);
        return 0;
    }
    default:
        ++unit.stalls;
        urb.actual_length = 0;
        return -EPIPE;
    }
}

gboolean HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    auto& unit = *static_cast<FakeUnit*>(user);
    std::lock_guard guard(unit.lock);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    switch (umockdev_ioctl_client_get_request(client)) {
    case USBDEVFS_GET_CAPABILITIES: {
        UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(guint32), nullptr);
        *reinterpret_cast<guint32*>(caps->data) = USBDEVFS_CAP_NO_PACKET_SIZE_LIM;
        umockdev_ioctl_data_unref(caps);
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }
    case USBDEVFS_GETDRIVER:
        umockdev_ioctl_client_complete(client, -1, ENODATA);
        return TRUE;
    case USBDEVFS_SUBMITURB: {
        UMockdevIoctlData* urbData =
            umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
        auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
        UMockdevIoctlData* buffer =
            umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer),
                                        static_cast<gsize>(urb->buffer_length), nullptr);
        urb->status = Serve(unit, *urb, buffer->data);
        unit.done.push_back({urbData, buffer});
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
        if (unit.done.empty()) {
            umockdev_ioctl_client_complete(client, -1, EAGAIN);
            return TRUE;
        }
        FakeUnit::Done d = unit.done.front();
        unit.done.pop_front();
        UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), nullptr);
        umockdev_ioctl_data_set_ptr(slot, 0, d.urb);
        umockdev_ioctl_data_unref(slot);
        umockdev_ioctl_data_unref(d.buffer);
        umockdev_ioctl_data_unref(d.urb);
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }
    case USBDEVFS_DISCARDURB:
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return TRUE;
    default:
        // Claim, release, clear halt, reset and the like simply succeed.
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }
}

class LibUsbUnderUmockdev : public ::testing::Test {
protected:
    void SetUp() override {
        const char* preload = std::getenv("LD_PRELOAD");
        if (!preload || !std::strstr(preload, "libumockdev-preload.so"))
            GTEST_SKIP() << "needs LD_PRELOAD=libumockdev-preload.so.0 (ctest sets it)";
        unit.status.assign(64, 0);
        unit.status[8] = 0x42;  // FPGA 4.02
        unit.status[13] = 0x4F; // firmware 4.15: not Osprey mode
        unit.status[14] = 0x39; // serial 12345
        unit.status[15] = 0x30;
        unit.status[23] = 0x80; // Plover class
        testbed = umockdev_testbed_new();
        handler = umockdev_ioctl_base_new();
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(HandleIoctl), &unit);
        ASSERT_TRUE(
            umockdev_testbed_attach_ioctl(testbed, "/dev/bus/usb/001/002", handler, nullptr));
        ASSERT_NE(umockdev_testbed_add_from_string(testbed, kDescription, nullptr), FALSE);
    }
    void TearDown() override {
        for (auto& d : unit.done) {
            umockdev_ioctl_data_unref(d.buffer);
            umockdev_ioctl_data_unref(d.urb);
        }
        if (handler)
            g_object_unref(handler);
        if (testbed)
            g_object_unref(testbed);
    }

    FakeUnit unit;
    UMockdevTestbed* testbed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
};

TEST_F(LibUsbUnderUmockdev, FindsTheUnitByItsIdsAndMapsPipesToEndpoints) {
    EXPECT_EQ(LibUsbDriver({{0x1234, 0x0001}}).DeviceCount(), 0);
    EXPECT_EQ(LibUsbDriver({}).DeviceCount(), 0) << "no IDs entered, no DPP";
    LibUsbDriver driver({{0x0001, 0x0002}, kTestId});
    ASSERT_TRUE(driver.ok());
    ASSERT_EQ(driver.DeviceCount(), 1);
    const int device = driver.OpenDevice(1);
    ASSERT_GE(device, 0);
    EXPECT_EQ(driver.OpenDevice(2), -1);
    for (int pipe = 0; pipe < 7; ++pipe)
        EXPECT_GE(driver.PipeOpen(1, pipe), 0) << pipe;
    EXPECT_EQ(driver.PipeOpen(1, 7), -1);
    EXPECT_EQ(driver.PipeOpen(2, 0), -1);
    driver.CloseDevice(device);
}

TEST_F(LibUsbUnderUmockdev, DppLinkRunsOverTheBackend) {
    LibUsbDriver driver({kTestId});
    SteadyClock clock;
    DppUsbLink link(driver, clock);
    ASSERT_EQ(link.Open(), 1);
    EXPECT_FALSE(link.ospreyMode());
    EXPECT_TRUE(link.scopeInOpen());
    ASSERT_TRUE(link.Identify());
    EXPECT_EQ(link.deviceType(), 2);
    EXPECT_EQ(link.serialNumber(), 12345u);

    // Bulk round trip: the configuration goes out on pipe 0 and comes back on pipe 5.
    DppConfigImage image{};
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7);
    EXPECT_TRUE(SendConfiguration(link, image, 0x123456));
    DppConfigImage back{};
    bool complete = false;
    EXPECT_EQ(ReadConfiguration(link, back, &complete), 0x123456u);
    EXPECT_TRUE(complete);
    EXPECT_TRUE(std::equal(image.begin() + 2, image.begin() + 29, back.begin() + 2));

    SendRequest(link, DppRequest::EnableAcquisition);
    SendRequest(link, DppRequest::SetSpectrumOffset, 0xFFF4);
    {
        std::lock_guard guard(unit.lock);
        ASSERT_EQ(unit.setups.size(), 2u);
        const std::array<uint8_t, 8> enable{0x43, 130, 0, 0, 0, 0, 0, 0};
        const std::array<uint8_t, 8> offset{0x43, 151, 0xF4, 0xFF, 0, 0, 0, 0};
        EXPECT_EQ(unit.setups[0], enable);
        EXPECT_EQ(unit.setups[1], offset);
    }
    EXPECT_EQ(link.ReadDescriptorText(), "Quorix Plover");
}

TEST_F(LibUsbUnderUmockdev, StallIsAFailedTransfer) {
    LibUsbDriver driver({kTestId});
    ASSERT_GE(driver.OpenDevice(1), 0);
    const int spectrum = driver.PipeOpen(1, 2);
    std::vector<uint8_t> buffer(3073);
    size_t transferred = 99;
    EXPECT_FALSE(driver.PipeRead(spectrum, buffer, transferred, 100));
    EXPECT_EQ(transferred, 0u);

    // Through the link: five attempts, each failed, nothing delivered.
    SteadyClock clock;
    LibUsbDriver linkDriver({kTestId});
    DppUsbLink link(linkDriver, clock);
    ASSERT_EQ(link.Open(), 1);
    const int before = unit.stalls;
    std::vector<uint8_t> raw(3072);
    EXPECT_EQ(link.ReadSpectrum(raw), 0u);
    EXPECT_EQ(unit.stalls - before, 5);
}

TEST(UsbIds, ParseAndDescriptorText) {
    auto ids = ParseUsbIds("1234:5678, abcd:EF01");
    ASSERT_TRUE(ids);
    EXPECT_EQ(*ids, (std::vector<UsbId>{{0x1234, 0x5678}, {0xABCD, 0xEF01}}));
    EXPECT_TRUE(ParseUsbIds("")->empty());
    EXPECT_FALSE(ParseUsbIds("1234"));
    EXPECT_FALSE(ParseUsbIds("12345:1"));
    EXPECT_FALSE(ParseUsbIds("12g4:0001"));
    const uint8_t d[] = {8, 3, 'A', 0, 0x3A, 0x04, 'b', 0, 'z', 0};
    EXPECT_EQ(StringDescriptorText(d, sizeof d, 64), "A?b") << "the length byte bounds the text";
    EXPECT_EQ(StringDescriptorText(d, sizeof d, 1), "A");
    EXPECT_EQ(StringDescriptorText(d, 1, 64), "");
}

} // namespace
} // namespace vorna::test

// The library as it is shipped: the twelve functions and nothing else, and on a machine whose
// "/" is not an LVM logical volume, failure everywhere without a word on our output.
#include "norvasnapshots-lvm.h"
#include "snapshots/norvasnapshots.h"

#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// True when the device of "/" has no device-mapper directory in sysfs.
[[nodiscard]] bool rootIsNotAVolume()
{
    struct stat root {};
    if (::stat("/", &root) != 0) {
        return false;
    }
    std::ostringstream dm;
    dm << "/sys/dev/block/" << major(root.st_dev) << ":" << minor(root.st_dev) << "/dm/uuid";
    std::string uuid;
    std::ifstream(dm.str()) >> uuid;
    return uuid.rfind("LVM-", 0) != 0;
}

class ShippedLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        handle_ = ::dlopen(NORVA_SHIPPED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << ::dlerror();
    }
    void TearDown() override
    {
        if (handle_ != nullptr) {
            ::dlclose(handle_);
        }
    }
    template <typename Function> Function function(const char* name) const
    {
        return reinterpret_cast<Function>(::dlsym(handle_, name));
    }

    void* handle_ = nullptr;
};

} // namespace

TEST_F(ShippedLibrary, ExportsTheTwelveFunctionsAndNoInnerSymbol)
{
    for (const char* name :
         {"existing_lvm_snapshots", "free_existing_lvm_snapshots", "create_lvm_snapshot",
          "can_create_lvm_snapshot", "remove_lvm_snapshot", "resize_lvm_snapshot",
          "lvm_snapshot_creation_time", "lvm_snapshot_filling_percent", "lvm_snapshot_size",
          "root_volume_size", "root_vg_free_space", "boot_partition_used_space"}) {
        EXPECT_NE(::dlsym(handle_, name), nullptr) << name;
    }
    EXPECT_EQ(::dlsym(handle_, "_Z14currentSessionv"), nullptr);
}

TEST_F(ShippedLibrary, AnswersFailureQuietlyWhenRootIsNotAVolume)
{
    if (!rootIsNotAVolume()) {
        GTEST_SKIP() << "/ of this machine is an LVM logical volume";
    }
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    SnapshotList list = function<SnapshotList (*)()>("existing_lvm_snapshots")();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[0], nullptr);
    function<void (*)(SnapshotList)>("free_existing_lvm_snapshots")(list);
    EXPECT_EQ(function<int32_t (*)(uint64_t)>("can_create_lvm_snapshot")(0),
              NORVA_LVM_NO_ROOT_VOLUME);
    EXPECT_FALSE(function<bool (*)(uint64_t)>("create_lvm_snapshot")(0));
    EXPECT_EQ(function<uint64_t (*)()>("root_volume_size")(), 0U);
    EXPECT_EQ(function<uint64_t (*)()>("root_vg_free_space")(), 0U);
    EXPECT_EQ(function<uint64_t (*)()>("boot_partition_used_space")(), 0U);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

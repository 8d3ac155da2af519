#include "SystemCopy.h"

#include <array>
#include <cstdlib>
#include <unistd.h>

namespace {

std::string mountNamespaceOf(const std::string& pid)
{
    std::array<char, 128> target{};
    const std::string link = "/proc/" + pid + "/ns/mnt";
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size() - 1);
    return length > 0 ? std::string(target.data(), static_cast<size_t>(length)) : std::string();
}

} // namespace

bool inPrivateMountNamespace()
{
    const std::string own = mountNamespaceOf("self");
    std::string other = mountNamespaceOf("1");
    if (other.empty()) {
        other = mountNamespaceOf(std::to_string(::getppid()));
    }
    return !own.empty() && !other.empty() && own != other;
}

ScratchSpace::ScratchSpace()
{
    if (!inPrivateMountNamespace()) {
        problem_ = "not in a private mount namespace; run the tests under "
                   "`unshare --mount --propagation private`";
        return;
    }
    std::string pattern = "/tmp/norva-packaging.XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        problem_ = "cannot create a directory under /tmp";
        return;
    }
    path_ = pattern;
    const ShellResult mounted = runShell("mount -t tmpfs norva-scratch " + shellQuote(path_));
    ready_ = mounted.status == 0;
    problem_ = mounted.err;
}

ScratchSpace::~ScratchSpace()
{
    if (ready_) {
        static_cast<void>(runShell("umount -R -l " + shellQuote(path_)));
    }
    if (!path_.empty()) {
        ::rmdir(path_.c_str());
    }
}

SystemCopy::SystemCopy()
{
    if (!scratch_.ready()) {
        problem_ = scratch_.problem();
        return;
    }
    const std::string base = shellQuote(scratch_.path());
    const ShellResult made = runShell(
        "set -e; cd " + base +
        "; mkdir upper work root"
        "; mount -t overlay norva-system -o lowerdir=/,upperdir=$PWD/upper,workdir=$PWD/work root"
        "; mount -t proc proc root/proc"
        "; mount -t tmpfs -o mode=0755 norva-dev root/dev"
        "; for node in null zero random urandom; do"
        "    touch root/dev/$node; mount --bind /dev/$node root/dev/$node; done");
    ready_ = made.status == 0;
    problem_ = made.err;
}

ShellResult SystemCopy::inside(const std::string& script, const std::string& env) const
{
    return runShell("chroot " + shellQuote(root()) +
                    " /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root " + env +
                    " /bin/sh -c " + shellQuote(script));
}

#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <iterator>

#include "filechannel/error_number.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {
namespace {

// From here on, this process's kernel answers `error` to every madvise call
// with `advice`, as a kernel short of memory or without the advice would.
bool RefuseAdvice(int advice, int error) {
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_madvise, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(advice), 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<__u32>(error)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// A large array is mapped, advised for huge pages and populated. Populating
// refused for want of memory is error 7, with no storage: the run goes on,
// and no page is left to fail at its first touch. A kernel that does not know
// an advice answers EINVAL, and the array is made without it.
TEST(ArrayStorage, LargeArrayFollowsTheKernelsAnswerToItsAdvice) {
  const struct {
    const char* label;
    int advice, error;
    bool created;
  } cases[] = {
      {"no memory to populate", MADV_POPULATE_WRITE, ENOMEM, false},
      {"a kernel without the populate advice", MADV_POPULATE_WRITE, EINVAL, true},
      {"a kernel without huge pages", MADV_HUGEPAGE, EINVAL, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const auto run = [&c] {
      if (!RefuseAdvice(c.advice, c.error)) std::_Exit(2);
      PackedArray samples;
      CreateArray(samples, 3'000'001, 4);
      const std::uint8_t failure = TakeErrorNumber();
      if (samples.HasStorage()) samples.Storage()[samples.ByteSize() - 1] = 1;  // every page is there
      std::_Exit(samples.HasStorage() == c.created && failure == (c.created ? 0 : 7) ? 0 : 1);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
  }
}

}  // namespace
}  // namespace corvane

/* Tells whether this x86-64 Linux machine can run 32-bit x86 code at all.
 * Wine for 32-bit Windows programs needs it; some hypervisors and kernels
 * (ia32_emulation=0) leave the 32-bit code segment out, and then even a 32-bit ELF
 * fails with "Exec format error". The probe jumps to four bytes of 32-bit code
 * (mov eax, 42; lret) through the user 32-bit code selector 0x23 and back through the
 * 64-bit one, 0x33. Exit 0: it ran; exit 1: the jump faulted. */
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

static void on_fault(int sig) {
    (void)sig;
    _exit(1);
}

int main(void) {
#if defined(__x86_64__)
    signal(SIGSEGV, on_fault);
    signal(SIGBUS, on_fault);
    signal(SIGILL, on_fault);
    /* Code and stack below 4 GiB: in 32-bit mode EIP and ESP are 32 bits wide. */
    unsigned char* low = mmap(NULL, 8192, PROT_READ | PROT_WRITE | PROT_EXEC,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (low == MAP_FAILED) return 1;
    static const unsigned char code[] = {0xb8, 42, 0, 0, 0, 0xcb};
    memcpy(low, code, sizeof code);
    uint32_t* stack = (uint32_t*)(low + 8192 - 64);
    uint64_t result;
    __asm__ volatile(
        "mov %%rsp, %%r12\n\t"
        "lea 1f(%%rip), %%rcx\n\t" /* the return point must be below 4 GiB too */
        "mov %[stack], %%rsp\n\t"
        "movl %%ecx, (%%rsp)\n\t"
        "movl $0x33, 4(%%rsp)\n\t"
        "pushq $0x23\n\t"
        "pushq %[code]\n\t"
        "lretq\n"
        "1:\n\t"
        "mov %%r12, %%rsp\n\t"
        : "=a"(result)
        : [code] "r"((uint64_t)(uintptr_t)low), [stack] "r"(stack)
        : "rcx", "r12", "memory");
    return (uint32_t)result == 42 ? 0 : 1;
#else
    return 0;
#endif
}

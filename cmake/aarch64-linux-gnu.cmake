# Cross build for 64-bit Arm on Debian: the crossbuild-essential-arm64 compilers, with the arm64 libraries
# installed through multiarch (/usr/lib/aarch64-linux-gnu). Used by scripts/cross-aarch64.sh.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# pkg-config for the target: Debian's triplet wrapper reads the arm64 .pc files only.
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "pkg-config for the target")
# Programs the build runs (the icon drawer) and the tests run through qemu-user.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)

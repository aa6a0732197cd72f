"""The package version: the CMake project version in CMakeLists.txt (a test holds them equal)."""

__version__ = "1.0.0"

// The precompiled header of the test programs is built with this library.

/* A tiny library that the loader tests load at run time. */
#if defined(_WIN32)
__declspec(dllexport)
#else
__attribute__((visibility("default")))
#endif
    int norvexaLoaderProbe(void)
{
    return 4711;
}

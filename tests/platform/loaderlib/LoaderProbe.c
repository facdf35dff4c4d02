/* A tiny library that the loader tests load at run time. */
__attribute__((visibility("default"))) int norvexaLoaderProbe(void)
{
    return 4711;
}

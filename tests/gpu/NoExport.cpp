// A shared library that is not a driver: it lacks the nvapi_QueryInterface export.
extern "C" __attribute__((visibility("default"))) int korvax_not_a_driver()
{
    return 42;
}

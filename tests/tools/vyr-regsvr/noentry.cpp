// A shared library that loads but has neither registration entry point.
extern "C" int vyrNoEntryPoints() { return 0; }

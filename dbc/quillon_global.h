#ifndef QUILLON_GLOBAL_H
#define QUILLON_GLOBAL_H

#if defined(_WIN32)
#  if defined(QUILLON_LIBRARY)
#    define QUILLON_EXPORT __declspec(dllexport)
#  else
#    define QUILLON_EXPORT __declspec(dllimport)
#  endif
#else
#  define QUILLON_EXPORT __attribute__((visibility("default")))
#endif

#endif // QUILLON_GLOBAL_H

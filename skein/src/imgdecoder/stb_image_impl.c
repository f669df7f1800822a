/* The one translation unit that compiles stb_image's decoders. Pixel blocks are malloc'ed so
   that the image can free them like its own. */
#include <stdlib.h>
#define STBI_MALLOC(size) malloc(size)
#define STBI_REALLOC(block, size) realloc(block, size)
#define STBI_FREE(block) free(block)
#define STB_IMAGE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb_image.h>

/* The one translation unit that compiles stb_image's decoders. Pixel blocks are malloc'ed so
   that the image can free them like its own. */
#include <stdlib.h>
#define STBI_MALLOC(size) malloc(size)
#define STBI_REALLOC(block, size) realloc(block, size)
#define STBI_FREE(block) free(block)
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

/* Resource identifiers shared by lekhopakar.rc and the C++ sources. Kept free
   of includes so that both windres and the compilers can read it. */
#ifndef LEKHOPAKAR_RESOURCE_IDS_H
#define LEKHOPAKAR_RESOURCE_IDS_H

#define IDI_LEKHOPAKAR 1

#define IDB_LOGO 101
#define IDB_MARKER 102

/* marker.bmp paints its background in this colour; draw it keyed out
   (TransparentBlt or a mask). make_assets.py uses the same value. */
#define LK_TRANSPARENT_KEY_R 255
#define LK_TRANSPARENT_KEY_G 0
#define LK_TRANSPARENT_KEY_B 255

#endif

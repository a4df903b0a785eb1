# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DIN=file -DOUT=file.gz -P gzip_file.cmake: OUT is IN gzipped (level 9).
file(ARCHIVE_CREATE OUTPUT ${OUT} PATHS ${IN} FORMAT raw COMPRESSION GZip COMPRESSION_LEVEL 9)

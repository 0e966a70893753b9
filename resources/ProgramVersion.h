/* Kestrel's version, for its version block and its About box: the resource
   compiler reads this file too, so it holds preprocessor lines only. */
#ifndef KESTREL_PROGRAM_VERSION_H
#define KESTREL_PROGRAM_VERSION_H

/* As people read it: the file and product version texts, the About box's title. */
#define KESTREL_VERSION_TEXT "1.14"
/* The same as the fixed file and product version's four parts. */
#define KESTREL_VERSION_PARTS 1, 1, 4, 0

#endif

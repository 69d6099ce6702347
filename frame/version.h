/*
** The plug-in's version, shared by the code and the resource script.
*/
#ifndef TIRVALO_VERSION_H
#define TIRVALO_VERSION_H

#define TIRVALO_VERSION_MAJOR     1
#define TIRVALO_VERSION_MINOR     4
#define TIRVALO_VERSION_BUILD     0
#define TIRVALO_VERSION_REVISION  4

#endif /* TIRVALO_VERSION_H */

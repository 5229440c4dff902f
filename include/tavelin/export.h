// The shared library is built with hidden visibility; only the classes the
// host application uses carry this mark.
#ifndef TAVELIN_EXPORT_H
#define TAVELIN_EXPORT_H
#define TAVELIN_API __attribute__((visibility("default")))

#endif

# Element library, reports text, data logs.

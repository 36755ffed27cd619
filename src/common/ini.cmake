# Owned by the INI reader work; empty until it lands.

// Placeholder; the parameter panel widgets come here.

// tarnwick-cli: placeholder until the commands land.
#include <cstdio>
int main()
{
    std::fputs("tarnwick-cli: no commands yet\n", stderr);
    return 2;
}

/*
 * An ALSA playback PCM for tests on machines without a sound card. It
 * consumes frames at real-time pace from the monotonic clock and appends
 * every frame it "plays" to a file, so that a test can compare what a
 * stream delivered with what it expected.
 *
 * Configuration:
 *   pcm_type.pacedfile { lib "/abs/libasound_module_pcm_pacedfile.so" }
 *   pcm.!default { type pacedfile file "/abs/stream-%p-%d.raw" }
 * "%p" becomes the process id and "%d" the smallest number whose file does
 * not exist yet, so every open within a process writes a file of its own.
 *
 * The hardware pointer follows CLOCK_MONOTONIC from the start; the poll
 * descriptor is a timerfd firing once per period. When the application is
 * late the clock waits for it instead of raising an underrun, so captures
 * have no gaps.
 */
#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

typedef struct {
    snd_pcm_ioplug_t io;
    int timer_fd;
    FILE *out;
    uint64_t clock_start_ns; /* monotonic time of frame 0 of the clock */
    uint64_t played;         /* frames consumed since the start */
    snd_pcm_uframes_t hw;    /* position in the ring, 0 .. buffer_size-1 */
} paced_t;

static uint64_t now_ns(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint64_t)ts.tv_sec * 1000000000ull + (uint64_t)ts.tv_nsec;
}

static void arm_timer(paced_t *p)
{
    struct itimerspec its;
    uint64_t period_ns = (uint64_t)p->io.period_size * 1000000000ull / p->io.rate;
    memset(&its, 0, sizeof its);
    its.it_value.tv_sec = (time_t)(period_ns / 1000000000ull);
    its.it_value.tv_nsec = (long)(period_ns % 1000000000ull);
    its.it_interval = its.it_value;
    timerfd_settime(p->timer_fd, 0, &its, NULL);
}

/* Appends `count` frames of the ring from position `pos` to the file. */
static void write_frames(paced_t *p, snd_pcm_uframes_t pos, snd_pcm_uframes_t count)
{
    const snd_pcm_channel_area_t *areas = snd_pcm_ioplug_mmap_areas(&p->io);
    size_t frame_bytes = (size_t)p->io.channels * 2;
    while (count > 0) {
        snd_pcm_uframes_t run = p->io.buffer_size - pos;
        if (run > count)
            run = count;
        const char *base = (const char *)areas[0].addr + areas[0].first / 8 + pos * areas[0].step / 8;
        if (p->out)
            fwrite(base, frame_bytes, run, p->out);
        pos = (pos + run) % p->io.buffer_size;
        count -= run;
    }
    if (p->out)
        fflush(p->out);
}

static int paced_start(snd_pcm_ioplug_t *io)
{
    paced_t *p = io->private_data;
    p->clock_start_ns = now_ns();
    p->played = 0;
    arm_timer(p);
    return 0;
}

static int paced_stop(snd_pcm_ioplug_t *io)
{
    paced_t *p = io->private_data;
    struct itimerspec its;
    memset(&its, 0, sizeof its);
    timerfd_settime(p->timer_fd, 0, &its, NULL);
    return 0;
}

static snd_pcm_sframes_t paced_pointer(snd_pcm_ioplug_t *io)
{
    paced_t *p = io->private_data;
    if (io->state != SND_PCM_STATE_RUNNING)
        return (snd_pcm_sframes_t)p->hw;
    uint64_t due = (now_ns() - p->clock_start_ns) * io->rate / 1000000000ull;
    uint64_t queued = snd_pcm_ioplug_hw_avail(io, io->hw_ptr, io->appl_ptr);
    uint64_t advance = due > p->played ? due - p->played : 0;
    if (advance > queued) {
        /* The application is late: hold the clock where the data ends. */
        advance = queued;
        p->clock_start_ns = now_ns() - (p->played + advance) * 1000000000ull / io->rate;
    }
    if (advance >= io->buffer_size)
        advance = io->buffer_size - 1; /* the rest follows on the next call */
    write_frames(p, p->hw, advance);
    p->played += advance;
    p->hw = (p->hw + advance) % io->buffer_size;
    return (snd_pcm_sframes_t)p->hw;
}

static snd_pcm_sframes_t paced_transfer(snd_pcm_ioplug_t *io, const snd_pcm_channel_area_t *areas,
                                        snd_pcm_uframes_t offset, snd_pcm_uframes_t size)
{
    (void)io;
    (void)areas;
    (void)offset;
    return (snd_pcm_sframes_t)size; /* mmap_rw: the frames stay in the ring */
}

static int paced_prepare(snd_pcm_ioplug_t *io)
{
    paced_t *p = io->private_data;
    p->hw = 0;
    p->played = 0;
    arm_timer(p);
    return 0;
}

static int paced_poll_revents(snd_pcm_ioplug_t *io, struct pollfd *pfd, unsigned int nfds,
                              unsigned short *revents)
{
    paced_t *p = io->private_data;
    uint64_t ticks;
    (void)nfds;
    if (pfd[0].revents & POLLIN) {
        ssize_t got = read(p->timer_fd, &ticks, sizeof ticks);
        (void)got;
    }
    *revents = (pfd[0].revents & POLLIN) ? POLLOUT : 0;
    return 0;
}

static int paced_close(snd_pcm_ioplug_t *io)
{
    paced_t *p = io->private_data;
    if (p->out)
        fclose(p->out);
    close(p->timer_fd);
    free(p);
    return 0;
}

static const snd_pcm_ioplug_callback_t paced_callback = {
    .start = paced_start,
    .stop = paced_stop,
    .pointer = paced_pointer,
    .transfer = paced_transfer,
    .close = paced_close,
    .prepare = paced_prepare,
    .poll_revents = paced_poll_revents,
};

/* Expands "%p" and "%d" of the pattern and opens the file exclusively. */
static FILE *open_capture(const char *pattern)
{
    char path[4096];
    for (int n = 0; n < 100000; ++n) {
        size_t k = 0;
        for (const char *s = pattern; *s && k + 32 < sizeof path; ++s) {
            if (s[0] == '%' && s[1] == 'p') {
                k += (size_t)snprintf(path + k, sizeof path - k, "%d", (int)getpid());
                ++s;
            } else if (s[0] == '%' && s[1] == 'd') {
                k += (size_t)snprintf(path + k, sizeof path - k, "%d", n);
                ++s;
            } else {
                path[k++] = *s;
            }
        }
        path[k] = '\0';
        int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0)
            return fdopen(fd, "wb");
        if (errno != EEXIST)
            return NULL;
    }
    return NULL;
}

static int set_constraints(snd_pcm_ioplug_t *io)
{
    static const unsigned int access_list[] = {SND_PCM_ACCESS_MMAP_INTERLEAVED, SND_PCM_ACCESS_RW_INTERLEAVED};
    static const unsigned int format_list[] = {SND_PCM_FORMAT_S16_LE};
    int err;
    if ((err = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_ACCESS, 2, access_list)) < 0 ||
        (err = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_FORMAT, 1, format_list)) < 0 ||
        (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_CHANNELS, 1, 2)) < 0 ||
        (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_RATE, 8000, 192000)) < 0 ||
        (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, 1 << 20)) < 0 ||
        (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIODS, 2, 64)) < 0)
        return err;
    return 0;
}

SND_PCM_PLUGIN_DEFINE_FUNC(pacedfile)
{
    snd_config_iterator_t i, next;
    const char *pattern = NULL;
    int err;
    (void)root;
    snd_config_for_each(i, next, conf)
    {
        snd_config_t *n = snd_config_iterator_entry(i);
        const char *id;
        if (snd_config_get_id(n, &id) < 0)
            continue;
        if (strcmp(id, "comment") == 0 || strcmp(id, "type") == 0 || strcmp(id, "hint") == 0)
            continue;
        if (strcmp(id, "file") == 0) {
            if (snd_config_get_string(n, &pattern) < 0)
                return -EINVAL;
            continue;
        }
        SNDERR("Unknown field %s", id);
        return -EINVAL;
    }
    if (!pattern || stream != SND_PCM_STREAM_PLAYBACK)
        return -EINVAL;

    paced_t *p = calloc(1, sizeof *p);
    if (!p)
        return -ENOMEM;
    p->timer_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    p->out = open_capture(pattern);
    if (p->timer_fd < 0 || !p->out) {
        if (p->out)
            fclose(p->out);
        if (p->timer_fd >= 0)
            close(p->timer_fd);
        free(p);
        return -EIO;
    }
    p->io.version = SND_PCM_IOPLUG_VERSION;
    p->io.name = "paced file sink";
    p->io.mmap_rw = 1;
    p->io.callback = &paced_callback;
    p->io.private_data = p;
    p->io.poll_fd = p->timer_fd;
    p->io.poll_events = POLLIN;
    p->io.flags = SND_PCM_IOPLUG_FLAG_MONOTONIC;

    if ((err = snd_pcm_ioplug_create(&p->io, name, stream, mode)) < 0) {
        fclose(p->out);
        close(p->timer_fd);
        free(p);
        return err;
    }
    if ((err = set_constraints(&p->io)) < 0) {
        snd_pcm_ioplug_delete(&p->io);
        return err;
    }
    *pcmp = p->io.pcm;
    return 0;
}

SND_PCM_PLUGIN_SYMBOL(pacedfile);
